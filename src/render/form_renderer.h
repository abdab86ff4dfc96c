#pragma once

// A form drawn from its stored design the way Access 2000 drew it on a Windows screen at 96
// dpi: there is no Access here to show the form, so the capture, the command line and the
// documentation pages all take their picture from this one renderer.

#include <QImage>
#include <QRect>
#include <string>
#include <vector>

#include "host/access.h"

namespace zanfor::host::dao {
class Database;
}

namespace zanfor::render {

enum class FormView { Form, Design };

struct RenderOptions {
    FormView view = FormView::Form;
    // The window's frame and caption bar around the client area (CaptureWindow's whole-window
    // flag); the capture itself takes the client area only.
    bool wholeWindow = false;
};

// Where a form finds what it shows beyond its own design: the first record of a table record
// source, and the forms its subform controls hold. Either may be null; a form then shows
// empty boxes and empty subform frames.
struct RenderSources {
    host::access::Application* access = nullptr;
    host::dao::Database* data = nullptr;
};

struct PlacedControl {
    std::string name;
    int controlType = 0;
    QRect rect;  // in the picture's pixels
};

struct FormPicture {
    QImage image;
    QRect client;                         // the form's client area within the picture
    std::vector<PlacedControl> controls;  // every control drawn, in drawing order
};

inline constexpr int kScreenDpi = 96;

// Twips to pixels at 96 dpi, rounded to nearest as Windows' MulDiv rounds.
int TwipsToPixels(int twips);

// Throws host::Error (2501, as Access refused to open such a form) when the form has no
// section to draw or a size no window could have.
FormPicture RenderForm(const host::access::DesignObject& form, const RenderOptions& options,
                       const RenderSources& sources = {});

}  // namespace zanfor::render
