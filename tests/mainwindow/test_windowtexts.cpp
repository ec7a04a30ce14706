// SPDX-License-Identifier: GPL-3.0-or-later
// What the user reads on every window, with the application set up as the program sets it up:
// the title the window system shows, and every caption whole inside its box.

#include "about/frmabout.h"
#include "about/frmtitlescreen.h"
#include "assistant/frmfassist.h"
#include "assistant/frmfassist2.h"
#include "formula/evaluator.h"
#include "formula/normalise.h"
#include "graph/frmpreprint.h"
#include "graph/frmprintout.h"
#include "help/frmhelp.h"
#include "mainwindow/frmmain.h"
#include "mainwindow/startup.h"
#include "settings/frmgraphoptions.h"
#include "tests/support/qstringprint.h"
#include "widgets/messagebox.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTranslator>
#include <QWindow>
#include <qpa/qplatformwindow.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace lw;

namespace {

// The platform plugins (xcb, Windows) title a window with this function of the
// window's own title; it appends the application's display name when one is set.
class PlatformWindow : public QPlatformWindow {
public:
    static QString titleOf(const QWidget &window)
    {
        return formatWindowTitle(window.windowHandle()->title(), QString::fromUtf8(" \u2014 "));
    }
};

// The style option a button paints its caption with (protected in Qt).
template<typename Button>
struct ButtonOption : Button {
    static QStyleOptionButton of(const QWidget *control)
    {
        QStyleOptionButton option;
        (static_cast<const Button *>(control)->*(&ButtonOption::initStyleOption))(&option);
        return option;
    }
};

template<typename Window>
std::unique_ptr<QWidget> made()
{
    return std::make_unique<Window>();
}

template<typename Window>
std::unique_ptr<QWidget> loaded()
{
    auto window = std::make_unique<Window>();
    window->Form_Load();
    return window;
}

template<int GraphType>
std::unique_ptr<QWidget> valuesPage()
{
    FAGraphType = GraphType;
    return loaded<FrmFAssist2>();
}

std::unique_ptr<QWidget> prePrint()
{
    return std::make_unique<FrmPrePrint>(nullptr, PrintDraw{});
}

// A message of each title.
const Message Messages[] = {
    {"Hinweis", "Gespeichert unter /tmp/kurve.\nVariablen wurden evtl. mit ihren aktuellen "
                "Werten in die Gleichung eingesetzt."},
    {"Fehler", "In der Zwischenablage ist kein Text gespeichert."},
    {"Linienwerk", "Bitte geben Sie erst eine Funktionsgleichung ein."},
};

struct Shown {
    std::string name;
    std::string title;
    std::function<std::unique_ptr<QWidget>()> open;
};

// Every window, and a message box of each title, named after it.
std::vector<Shown> everyWindow()
{
    std::vector<Shown> windows = {
        {"frmMain", "ZERANTH Linienwerk 2", loaded<FrmMain>},
        {"frmGraphOptions", "Schaubild-Einstellungen", loaded<FrmGraphOptions>},
        {"frmFAssist", "Funktions-Assistent", loaded<FrmFAssist>},
        {"frmFAssist2 Gerade", "Funktions-Assistent", valuesPage<1>},
        {"frmFAssist2 Parabel", "Funktions-Assistent", valuesPage<2>},
        {"frmFAssist2 Sinuskurve", "Funktions-Assistent", valuesPage<4>},
        {"frmPrePrint", "Drucken", prePrint},
        // It has no caption of its own, so the window system names it after the program.
        {"frmPrintOut", "Linienwerk2", made<FrmPrintOut>},
        {"frmAbout", "Info...", loaded<FrmAbout>},
        {"frmTitleScreen", "TitleScreen", made<FrmTitleScreen>},
        {"frmHelp", "Linienwerk-Hilfe", made<FrmHelp>},
    };
    for (const Message &message : Messages) {
        const std::string title = message.title.toStdString();
        const auto open = [&message] {
            return MessageBoxFor(message, nullptr);
        };
        windows.push_back({title, title, open});
    }
    return windows;
}

// Where a control lays out its caption, and how it aligns it there.
struct CaptionBox {
    QString text;
    QRect room;
    int flags = 0;
};

std::optional<CaptionBox> captionBox(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        const int margin = label->margin();
        return CaptionBox{label->text(),
                          label->contentsRect().adjusted(margin, margin, -margin, -margin),
                          int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0)};
    }
    const auto button = [control](const QStyleOptionButton &option, QStyle::SubElement contents,
                                  int alignment) {
        return CaptionBox{option.text, control->style()->subElementRect(contents, &option, control),
                          alignment | Qt::TextShowMnemonic};
    };
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    if (qobject_cast<const QCheckBox *>(control))
        return button(ButtonOption<QCheckBox>::of(control), QStyle::SE_CheckBoxContents, left);
    if (qobject_cast<const QRadioButton *>(control))
        return button(ButtonOption<QRadioButton>::of(control), QStyle::SE_RadioButtonContents,
                      left);
    if (qobject_cast<const QPushButton *>(control))
        return button(ButtonOption<QPushButton>::of(control), QStyle::SE_PushButtonContents,
                      Qt::AlignCenter);
    return std::nullopt;
}

class WindowTexts : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        SetUpApplication(*qApp);
        InstallMessageHook({});
    }
    void TearDown() override { FAGraphType = 0; }
};

TEST_F(WindowTexts, TheWindowSystemShowsEachWindowsOwnTitle)
{
    for (const Shown &w : everyWindow()) {
        const std::unique_ptr<QWidget> window = w.open();
        window->show();
        ASSERT_NE(window->windowHandle(), nullptr) << w.name;
        EXPECT_EQ(PlatformWindow::titleOf(*window).toStdString(), w.title) << w.name;
    }
}

TEST_F(WindowTexts, EveryCaptionFitsItsBoxAndStandsInsideItsFrame)
{
    int captions = 0;
    for (const Shown &w : everyWindow()) {
        const std::unique_ptr<QWidget> window = w.open();
        window->show();
        for (const QWidget *control : window->findChildren<QWidget *>()) {
            const std::optional<CaptionBox> box = captionBox(control);
            if (!box || box->text.isEmpty() || !control->isVisibleTo(window.get()))
                continue;
            ++captions;
            const QRect needed =
                control->fontMetrics().boundingRect(box->room, box->flags, box->text);
            const std::string where = w.name + " " + control->objectName().toStdString() + " \""
                                      + box->text.toStdString() + "\"";
            EXPECT_TRUE(box->room.contains(needed))
                << where << ": needs " << needed.width() << "x" << needed.height() << " at "
                << needed.x() << "," << needed.y() << ", has " << box->room.width() << "x"
                << box->room.height() << " at " << box->room.x() << "," << box->room.y();
            if (const auto *frame = qobject_cast<const QGroupBox *>(control->parentWidget())) {
                const QRect inFrame = needed.translated(control->pos());
                EXPECT_TRUE(frame->contentsRect().contains(inFrame))
                    << where << ": top " << inFrame.top() << ", the frame's inside begins at "
                    << frame->contentsRect().top();
            }
        }
    }
    EXPECT_GT(captions, 50) << "the walk found the captions";
}

// Qt's own texts (dialogs, standard buttons) from qt6-translations-l10n: the system's language
// where Qt speaks it (English only as an empty catalogue), German otherwise.
TEST_F(WindowTexts, QtsOwnTextsComeInTheSystemsLanguageOrInGerman)
{
    const std::pair<QLocale, QString> cancel[] = {
        {QLocale(QLocale::German, QLocale::Austria), "Abbrechen"},
        {QLocale(QLocale::French), "Annuler"},
        {QLocale(QLocale::English), "Abbrechen"},
        {QLocale::c(), "Abbrechen"}};
    for (const auto &[locale, text] : cancel) {
        QTranslator translator;
        EXPECT_TRUE(LoadQtCatalogue(translator, QStringLiteral("qtbase"), locale,
                                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        EXPECT_EQ(translator.translate("QPlatformTheme", "Cancel"), text)
            << locale.name().toStdString();
    }
    const QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    EXPECT_NE(buttons.button(QDialogButtonBox::Cancel)->text(), "Cancel")
        << "installed at the start";
}

// Each title and text of the windows' catalogue and the engine's texts; every argument of a text
// lands in it, with no placeholder left over.
TEST(MessageCatalogue, NoTitleOrTextIsEmpty)
{
    const QString a = QStringLiteral("<a>");
    const QString b = QStringLiteral("<b>");
    const auto engine = [](const std::u16string &text) {
        return QString::fromStdU16String(text);
    };
    const struct {
        QString text;
        QStringList arguments;
    } entries[] = {
        {ErrorTitle, {}},
        {NoticeTitle, {}},
        {ProgramTitle, {}},
        {EmptyClipboardMessage, {}},
        {SettingsNotSavedMessage, {}},
        {PrinterRefusedMessage, {}},
        {EntryRefusal(a, b), {a, b}},
        {TooFineRefusal(a), {a}},
        {GraphSavedMessage(a), {a}},
        {GraphNotSavedMessage(a, b), {a, b}},
        {GraphNotLoadedMessage(a, b), {a, b}},
        {HelpFileMissingMessage(a), {a}},
        {HelpFileUnreadableMessage(a), {a}},
        {HelpTopicMissingMessage(a, 77), {a, QStringLiteral("77")}},
        {engine(ConversionFailedMessage()), {}},
        {engine(EmptyEquationMessage()), {}},
        {engine(FormulaErrorMessage(FormulaError::InvalidArgument)), {}},
        {engine(FormulaErrorMessage(FormulaError::Overflow)), {}},
        {engine(FormulaErrorMessage(FormulaError::TooDeep)), {}},
    };
    const QRegularExpression placeholder(QStringLiteral("%\\d"));
    for (const auto &entry : entries) {
        EXPECT_FALSE(entry.text.trimmed().isEmpty());
        EXPECT_FALSE(entry.text.contains(placeholder)) << entry.text.toStdString();
        for (const QString &argument : entry.arguments)
            EXPECT_TRUE(entry.text.contains(argument)) << entry.text.toStdString();
    }
}

} // namespace
