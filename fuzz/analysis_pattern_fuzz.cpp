// Any bytes as an analysis pattern file: values read or left alone, never a crash, and never a
// value its check box or option group cannot show.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "batch/analysis_pattern.h"
#include "util/encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    zanfor::app::BatchState batch;
    zanfor::batch::OpenBatch(batch);
    zanfor::batch::ReadPatternLines(zanfor::util::SplitLines(zanfor::util::DecodeText(bytes)),
                                    batch);
    for (const auto flag : batch.flags)
        if (flag != 0 && flag != 1 && flag != 9)
            std::abort();
    return 0;
}
