#pragma once

// The control rectangles measured by hand on the screenshots of Strings.mdb's forms
// (tests/render/data/strings_screens.tsv), read by the geometry test and the side-by-side tool.

#include <QRect>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace zanfor::test {

struct ScreenMeasurement {
    std::string screenshot, form, control;
    QRect rect;  // pixels from the client area's top-left corner
};

inline std::vector<ScreenMeasurement> ReadScreenMeasurements(const std::string& path) {
    std::vector<ScreenMeasurement> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line.front() == '#')
            continue;
        std::istringstream fields(line);
        ScreenMeasurement m;
        int x = 0, y = 0, w = 0, h = 0;
        std::getline(fields, m.screenshot, '\t');
        std::getline(fields, m.form, '\t');
        std::getline(fields, m.control, '\t');
        fields >> x >> y >> w >> h;
        m.rect = QRect(x, y, w, h);
        rows.push_back(std::move(m));
    }
    return rows;
}

}  // namespace zanfor::test
