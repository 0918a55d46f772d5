// The points of the chart's line, kept from one reset to the next.
//
// Points live in fixed-size chunks, so adding one never moves the others: the cost of an
// added point is the same at a thousand points or ten million, and memory grows by the
// point itself plus at most one partly filled chunk. Clear keeps up to kKeptChunks chunks
// (16 MiB) for the next run, as a cleared vector keeps its capacity.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace karvo {

struct ChartPoint {
    float x;  // seconds (ChartTime)
    float y;  // measured value
};

class ChartPoints {
  public:
    static constexpr std::size_t kChunkBits = 12;
    static constexpr std::size_t kChunkSize = std::size_t{1} << kChunkBits;  // 4096 points
    static constexpr std::size_t kKeptChunks = 512;

    void Add(float x, float y) {
        const std::size_t offset = size_ & (kChunkSize - 1);
        if (offset == 0 && (size_ >> kChunkBits) == chunks_.size()) {
            chunks_.emplace_back(new ChartPoint[kChunkSize]);
        }
        chunks_[size_ >> kChunkBits][offset] = ChartPoint{x, y};
        ++size_;
    }

    void Clear() {
        size_ = 0;
        if (chunks_.size() > kKeptChunks) chunks_.resize(kKeptChunks);
    }

    std::size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }

    const ChartPoint& operator[](std::size_t i) const {
        return chunks_[i >> kChunkBits][i & (kChunkSize - 1)];
    }
    const ChartPoint& Back() const { return (*this)[size_ - 1]; }

    // X only grows, so the points are sorted by x. First index with x >= value / x > value.
    std::size_t LowerBound(double value) const;
    std::size_t UpperBound(double value) const;

  private:
    std::vector<std::unique_ptr<ChartPoint[]>> chunks_;
    std::size_t size_ = 0;
};

}  // namespace karvo
