// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "renderoptions.h"

#include "graph/curvelist.h"
#include "graph/exportsurface.h"
#include "graph/imagesurface.h"
#include "graph/recordingsurface.h"
#include "graph/repeatfilter.h"
#include "graph/teesurface.h"

#include <QSize>
#include <QString>

#include <memory>
#include <optional>
#include <ostream>

namespace lw {

// Where a render goes: the trace on standard output and a PNG, both painted as the curves are
// drawn. SVG and PDF draw the picture's curves anew once all are drawn, at the exact positions
// of their samples, as the window's vector files do.
class RenderOutput {
public:
    RenderOutput(const RenderOptions &options, std::ostream &out);
    RenderOutput(const RenderOutput &) = delete;
    RenderOutput &operator=(const RenderOutput &) = delete;

    // One output alone is drawn on directly: a fine walk draws millions of samples.
    DrawingSurface *surface() { return m_outputs == 1 ? m_only : &m_tee; }

    // False with the German reason in `error` when the picture file could not be written.
    bool write(const Picture &picture, const GraphSettingsRecord &settings, QString *error);

private:
    void addOutput(DrawingSurface *output);

    QString m_fileName;
    std::optional<PictureFormat> m_format;
    QSize m_size;
    TeeSurface m_tee;
    DrawingSurface *m_only = nullptr;
    int m_outputs = 0;
    RecordingSurface m_trace;
    std::unique_ptr<ImageSurface> m_image;
    std::unique_ptr<RepeatFilter> m_filter;
};

} // namespace lw
