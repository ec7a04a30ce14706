// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "drawingsurface.h"
#include "surfaceoperation.h"

#include <functional>
#include <vector>

namespace lw {

// Keeps every operation in order: the tests read it and the command line traces it.
class RecordingSurface : public DrawingSurface {
public:
    void clear() override;
    void line(int x1, int y1, int x2, int y2, Colour colour) override;
    void point(int x, int y, Colour colour) override;
    void text(const QString &text) override;

    const std::vector<SurfaceOperation> &operations() const { return m_operations; }
    QStringList lines() const;
    void forget() { m_operations.clear(); }

    // Called with each operation as it is drawn.
    void setListener(std::function<void(const SurfaceOperation &)> listener);

private:
    void add(SurfaceOperation operation);

    std::vector<SurfaceOperation> m_operations;
    std::function<void(const SurfaceOperation &)> m_listener;
};

} // namespace lw
