#pragma once

#include "recordingsurface.h"
#include "repeatfilter.h"
#include "teesurface.h"

#include <cstddef>

namespace lw {

// The picture as drawing steps: passes every operation on to the picture and
// keeps those since the last clear, so that the picture can be saved as
// vectors just as linienwerk-cli render writes them. A step that repeats the
// one before goes to neither: it would paint the same pixels again. Past
// `limit` steps the record is dropped until the next clear (memory stays
// bounded); the picture alone then holds what was drawn.
class PictureRecord final : public DrawingSurface {
public:
    static constexpr std::size_t DefaultLimit = 4'000'000;

    explicit PictureRecord(DrawingSurface &picture, std::size_t limit = DefaultLimit);

    void clear() override;
    void line(int x1, int y1, int x2, int y2, Colour colour) override;
    void point(int x, int y, Colour colour) override;
    void text(const QString &text) override;

    // Every step since the last clear while complete().
    const RecordingSurface &recording() const { return m_recording; }
    bool complete() const { return m_recording.complete(); }
    // Takes effect from the next step on.
    void setLimit(std::size_t limit) { m_recording.keepSinceLastClear(limit); }

private:
    RecordingSurface m_recording;
    TeeSurface m_both;
    RepeatFilter m_filter{m_both};
};

} // namespace lw
