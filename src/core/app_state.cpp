#include "core/app_state.h"

namespace zanfor::app {

void AppState::resetForNewTarget() {
    lastRun.reset();
    counts = {};
    previewEnabled.fill(false);
    pickers = {};
    remembered = {};
    savedStartup = {};
    startupValues = {};
    autoExec = false;
    currentObjectKind = "Form";
}

}  // namespace zanfor::app
