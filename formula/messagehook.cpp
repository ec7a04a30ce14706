#include "messagehook.h"

#include <cstdio>
#include <utility>

namespace lw {

namespace {
std::function<void(const Message &)> &installedHook()
{
    static std::function<void(const Message &)> hook;
    return hook;
}
} // namespace

void InstallMessageHook(std::function<void(const Message &)> show)
{
    installedHook() = std::move(show);
}

void ShowMessage(const QString &title, const QString &text, MessageIcon icon)
{
    if (installedHook()) {
        installedHook()({title, text, icon});
        return;
    }
    std::fprintf(stderr, "%s: %s\n", title.toUtf8().constData(), text.toUtf8().constData());
}

} // namespace lw
