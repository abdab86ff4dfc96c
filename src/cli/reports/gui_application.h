#pragma once

// The Qt application object the report engine and the form renderer need for their fonts.

namespace zanfor::cli::reports {

// Created once, on the offscreen platform unless the caller chose one.
void EnsureGuiApplication();

}  // namespace zanfor::cli::reports
