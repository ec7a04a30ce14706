#pragma once

#include "drawingsurface.h"
#include "surfaceoperation.h"

#include <cstddef>
#include <functional>
#include <limits>
#include <vector>

class QPainter;

namespace lw {

// Keeps every operation in order: the tests read it, the command line traces
// it, and the vector exports paint it.
class RecordingSurface : public DrawingSurface {
public:
    void clear() override;
    void line(int x1, int y1, int x2, int y2, Colour colour) override;
    void point(int x, int y, Colour colour) override;
    void text(const QString &text) override;

    const std::vector<SurfaceOperation> &operations() const { return m_operations; }
    QStringList lines() const;
    void forget() { m_operations.clear(); }

    // Keeps only the operations since the last clear, all that a picture shows,
    // and at most `limit` of them: past it the record is dropped until the next
    // clear, and complete() is false meanwhile.
    void keepSinceLastClear(std::size_t limit = std::numeric_limits<std::size_t>::max());
    bool complete() const { return m_complete; }

    // Called with each operation as it is drawn.
    void setListener(std::function<void(const SurfaceOperation &)> listener);

    // Paints what a picture of this size would show now: everything since the last clear,
    // without the lines and points that lie wholly outside it.
    void paint(QPainter &painter, const QColor &background, QSize picture) const;

private:
    void add(SurfaceOperation operation);

    void drop();

    std::vector<SurfaceOperation> m_operations;
    std::function<void(const SurfaceOperation &)> m_listener;
    bool m_sinceLastClear = false;
    std::size_t m_limit = std::numeric_limits<std::size_t>::max();
    bool m_complete = true;
};

} // namespace lw
