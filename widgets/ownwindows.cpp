// SPDX-License-Identifier: GPL-3.0-or-later

#include "ownwindows.h"

#include "settings/settingsstore.h"

#include <QEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace lw {

namespace {

const QString WindowsSection = QStringLiteral("Windows");
constexpr int Gap = 8;

QRect clampedInto(QRect rect, const QRect &available)
{
    rect.moveLeft(std::clamp(rect.left(), available.left(),
                             std::max(available.left(), available.right() - rect.width() + 1)));
    rect.moveTop(std::clamp(rect.top(), available.top(),
                            std::max(available.top(), available.bottom() - rect.height() + 1)));
    return rect;
}

QString placeText(const QRect &rect)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(rect.x())
        .arg(rect.y())
        .arg(rect.width())
        .arg(rect.height());
}

std::optional<QRect> storedPlace(const QString &name)
{
    const std::optional<QString> text = CurrentSettingsStore().read(WindowsSection, name);
    if (!text)
        return std::nullopt;
    const QStringList parts = text->split(u' ');
    int values[4] = {};
    if (parts.size() != 4)
        return std::nullopt;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (values[2] <= 0 || values[3] <= 0)
        return std::nullopt;
    return QRect(values[0], values[1], values[2], values[3]);
}

// Keeps the window's place when it hides and closes it on Esc.
class OwnWindowKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::Hide && !window->objectName().isEmpty())
            CurrentSettingsStore().write(WindowsSection, window->objectName(),
                                         placeText(window->geometry()));
        if (event->type() == QEvent::ShortcutOverride
            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape
            && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
            event->accept(); // the main window's Esc (stop the draw) is not for this window
            return true;
        }
        if (event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape
            && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
            window->close();
            return true;
        }
        return false;
    }
};

} // namespace

QRect PlaceBeside(const QRect &owner, const QSize &size, const QRect &available)
{
    const QRect candidates[] = {
        QRect(QPoint(owner.right() + 1 + Gap, owner.top()), size),
        QRect(QPoint(owner.left() - Gap - size.width(), owner.top()), size),
        QRect(QPoint(owner.left(), owner.bottom() + 1 + Gap), size),
        QRect(QPoint(owner.left(), owner.top() - Gap - size.height()), size),
    };
    for (const QRect &candidate : candidates) {
        const QRect inside = clampedInto(candidate, available);
        if (available.contains(inside) && !inside.intersects(owner))
            return inside;
    }
    return clampedInto(candidates[0], available);
}

void PlaceOwnWindow(QWidget *window)
{
    if (window->property("placed").toBool())
        return;
    window->setProperty("placed", true);
    window->installEventFilter(new OwnWindowKeeper(window));
    QWidget *owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    QScreen *screen = owner ? owner->screen() : window->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    if (const std::optional<QRect> stored = storedPlace(window->objectName());
        stored && available.intersects(*stored)) {
        window->setGeometry(*stored);
        return;
    }
    if (!owner)
        return;
    // The frame's margins are known only once shown; the title bar's are about alike for both.
    const QMargins frame(owner->geometry().left() - owner->frameGeometry().left(),
                         owner->geometry().top() - owner->frameGeometry().top(),
                         owner->frameGeometry().right() - owner->geometry().right(),
                         owner->frameGeometry().bottom() - owner->geometry().bottom());
    const QRect place =
        PlaceBeside(owner->frameGeometry(), window->size().grownBy(frame), available);
    window->move(place.topLeft());
}

} // namespace lw
