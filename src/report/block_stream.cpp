#include "report/block_stream.h"

#include <algorithm>

namespace zanfor::report {

namespace {

class HeldBlocks : public BlockStream {
public:
    explicit HeldBlocks(const std::vector<Block>& blocks) : blocks_(blocks) {}

    bool next(std::vector<Block>& out) override {
        if (next_ >= blocks_.size())
            return false;
        const std::size_t end = std::min(blocks_.size(), next_ + 256);
        out.insert(out.end(), blocks_.begin() + static_cast<std::ptrdiff_t>(next_),
                   blocks_.begin() + static_cast<std::ptrdiff_t>(end));
        next_ = end;
        return true;
    }

private:
    const std::vector<Block>& blocks_;
    std::size_t next_ = 0;
};

}  // namespace

std::unique_ptr<BlockStream> StreamOf(const std::vector<Block>& blocks) {
    return std::make_unique<HeldBlocks>(blocks);
}

const Block* BlockWindow::at(int index) {
    while (!ended_ && index - first_ >= static_cast<int>(blocks_.size())) {
        incoming_.clear();
        ended_ = !stream_.next(incoming_);
        for (Block& block : incoming_) {
            if (block.type == BlockType::TableBegin)
                open_ = block.table;
            tables_.push_back(open_);
            if (block.type == BlockType::TableEnd)
                open_ = -1;
            blocks_.push_back(std::move(block));
        }
    }
    const int offset = index - first_;
    if (offset < 0 || offset >= static_cast<int>(blocks_.size()))
        return nullptr;
    return &blocks_[static_cast<std::size_t>(offset)];
}

int BlockWindow::tableOf(int index) const {
    const int offset = index - first_;
    if (offset < 0 || offset >= static_cast<int>(tables_.size()))
        return -1;
    return tables_[static_cast<std::size_t>(offset)];
}

void BlockWindow::release(int index) {
    while (first_ < index && !blocks_.empty()) {
        blocks_.pop_front();
        tables_.pop_front();
        ++first_;
    }
}

}  // namespace zanfor::report
