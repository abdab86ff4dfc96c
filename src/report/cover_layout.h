#pragma once

// The fixed layouts of the cover sheet (R_AcHyousi), the spine labels with vertical text
// (R_AcHyousiH) and the front labels (R_AcHyousiW), from the texts of T_AcHyousi.

#include "report/page_layout.h"

namespace zanfor::report {

Document LayOutCoverSheet(const ReportContent& content, FontBook& fonts, QSizeF pageSize);

}  // namespace zanfor::report
