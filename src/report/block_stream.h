#pragma once

// A report's blocks a piece at a time. A long report is laid out, painted and written while
// only the blocks near the one being placed are held; outputs that read it twice (the page
// count comes before the first page) start a fresh stream for each reading.

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "report/report_content.h"

namespace zanfor::report {

class BlockStream {
public:
    virtual ~BlockStream() = default;
    // Appends the next blocks to `out`; false when none remain.
    virtual bool next(std::vector<Block>& out) = 0;
};

// A fresh stream from the report's first block, every time it is called.
using StreamSource = std::function<std::unique_ptr<BlockStream>()>;

// The blocks of a report held whole (the preview's, the tests').
std::unique_ptr<BlockStream> StreamOf(const std::vector<Block>& blocks);

// The blocks of a stream by index: read ahead as far as asked, dropped once released.
class BlockWindow {
public:
    explicit BlockWindow(BlockStream& stream) : stream_(stream) {}

    // nullptr past the last block. References stay valid until released.
    const Block* at(int index);
    // The table whose rows the block is among, -1 outside tables; `at(index)` first.
    int tableOf(int index) const;
    // The blocks before `index` are not asked for again.
    void release(int index);

private:
    BlockStream& stream_;
    std::deque<Block> blocks_;
    std::deque<int> tables_;
    std::vector<Block> incoming_;
    int first_ = 0;
    int open_ = -1;
    bool ended_ = false;
};

}  // namespace zanfor::report
