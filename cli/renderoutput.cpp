// SPDX-License-Identifier: GPL-3.0-or-later

#include "renderoutput.h"

#include "graph/surfaceoperation.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace lw {

namespace {

// Text in a real font needs a GUI application. Only the vector files write any, so the trace and
// the PNG start without one, which is faster.
std::unique_ptr<QGuiApplication> applicationForFonts()
{
    if (QCoreApplication::instance())
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application keeps both for its lifetime.
    static int argc = 1;
    static char name[] = "linienwerk-cli";
    static char *argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

RenderOutput::RenderOutput(const RenderOptions &options, std::ostream &out)
    : m_fileName(options.outputFile), m_format(PictureFormatOf(m_fileName)),
      m_size(options.size, options.size)
{
    if (options.trace) {
        m_trace.setListener([this, &out](const SurfaceOperation &operation) {
            out << operation.toString().toStdString() << '\n';
            m_trace.forget();
        });
        addOutput(&m_trace);
    }
    if (m_format == PictureFormat::Png) {
        m_image = std::make_unique<ImageSurface>(m_size, 1.0, PictureBackground());
        m_filter = std::make_unique<RepeatFilter>(*m_image);
        addOutput(m_filter.get());
    }
}

bool RenderOutput::write(const Picture &picture, const GraphSettingsRecord &settings,
                         QString *error)
{
    bool written = true;
    if (m_image) {
        written = SavePng(m_image->image(), m_fileName);
    } else if (m_format) {
        const std::unique_ptr<QGuiApplication> application = applicationForFonts();
        written =
            SaveCurves(picture.curves, settings, m_size, PictureBackground(), m_fileName, *m_format)
            == SaveOutcome::Saved;
    }
    if (!written)
        *error = NotWrittenReason(m_fileName);
    return written;
}

void RenderOutput::addOutput(DrawingSurface *output)
{
    m_tee.add(output);
    m_only = output;
    ++m_outputs;
}

} // namespace lw
