// SPDX-License-Identifier: GPL-3.0-or-later

#include "frmabout.h"

#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QtMath>

#include "widgets/uiresources.h"

namespace lw {

namespace {
constexpr int Margin = 8;
constexpr int IconSide = 32;
constexpr QSize PictureArea(337, 209);
constexpr QSizeF TitleSize(457, 249);
// Where the title picture prints "Version 2.0": right end and baseline, in picture pixels.
constexpr QPointF VersionTextEnd(447, 241);
constexpr double VersionTextPixels = 13;
constexpr int TextLines = 5;
const QColor TextBoxGrey(192, 192, 192);
const QColor VersionColour(0x1f, 0x3a, 0x68);

// Renders at the screen's pixel ratio so that the picture stays sharp on high-DPI screens.
QPixmap renderSvg(QSvgRenderer &renderer, QSize size, const QRectF &pictureRect, qreal dpr)
{
    QPixmap pixmap(size * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, pictureRect);
    return pixmap;
}

// The title picture without its own "Version 2.0", the ground that Label2 is printed on.
QByteArray titleWithoutVersion()
{
    QFile file(QStringLiteral(":/title.svg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString svg = QString::fromUtf8(file.readAll());
    static const QRegularExpression versionText(QStringLiteral("<text[^>]*>Version 2\\.0</text>"));
    return svg.remove(versionText).toUtf8();
}
} // namespace

FrmAbout::FrmAbout(QWidget *parent, const QString &aboutPath)
    : QDialog(parent), m_aboutPath(aboutPath)
{
    InitUiResources();
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Info..."));
    setModal(true);
    setWindowIcon(QIcon(QStringLiteral(":/linienwerk.svg")));
    createCaptions();
    createPicture();
    createTextAndButton();
    const int width = Image1->geometry().right() + 1 + Margin;
    setFixedSize(width, cmdOK->geometry().bottom() + 1 + Margin);
}

void FrmAbout::createCaptions()
{
    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(Margin, Margin, IconSide, IconSide);
    QSvgRenderer icon(QStringLiteral(":/linienwerk.svg"));
    picIcon->setPixmap(
        renderSvg(icon, picIcon->size(), QRectF(picIcon->rect()), devicePixelRatioF()));

    Label1 = new QLabel(QStringLiteral("Über ZERANTH Linienwerk 2.0..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    const int left = picIcon->geometry().right() + 1 + Margin;
    Label1->setGeometry(left, Margin, Margin + PictureArea.width() - left, IconSide);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void FrmAbout::createPicture()
{
    const QSize pictureSize = TitleSize.scaled(QSizeF(PictureArea), Qt::KeepAspectRatio).toSize();
    const double scale = pictureSize.width() / TitleSize.width();
    const qreal dpr = devicePixelRatioF();

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(
        QRect(QPoint(Margin, picIcon->geometry().bottom() + 1 + Margin), pictureSize));
    QSvgRenderer title(QStringLiteral(":/title.svg"));
    Image1->setPixmap(renderSvg(title, pictureSize, QRectF(QPointF(), pictureSize), dpr));

    Label2 = new QLabel(QStringLiteral("Version 2.0"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(qRound(VersionTextPixels * scale));
    Label2->setFont(font);
    QPalette palette = Label2->palette();
    palette.setColor(QPalette::WindowText, VersionColour);

    // The label covers the picture's own words, so it is the text box there plus a small rim;
    // the box is the one the label lays its text out in, centred on the words' line.
    const QFontMetrics metrics(font);
    const QPointF end = VersionTextEnd * scale;
    const QSize text = metrics.boundingRect(QRect(), Qt::AlignRight, Label2->text()).size();
    const int middle = qRound(end.y()) - metrics.ascent() + metrics.height() / 2;
    const QRect textBox(qRound(end.x()) - text.width(), middle - text.height() / 2, text.width(),
                        text.height());
    constexpr int Rim = 2;
    const QRect onPicture = textBox.adjusted(-Rim, -Rim, Rim, Rim);
    Label2->setMargin(Rim);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2->setGeometry(onPicture.translated(Image1->pos()));

    QSvgRenderer ground(titleWithoutVersion());
    const QRectF shifted(-QPointF(onPicture.topLeft()), QSizeF(pictureSize));
    palette.setBrush(QPalette::Window, QBrush(renderSvg(ground, onPicture.size(), shifted, dpr)));
    Label2->setPalette(palette);
    Label2->setAutoFillBackground(true);
}

void FrmAbout::createTextAndButton()
{
    txtAboutBox = new QPlainTextEdit(this);
    txtAboutBox->setObjectName(QStringLiteral("txtAboutBox"));
    txtAboutBox->setReadOnly(true);
    txtAboutBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Only a vertical scroll bar: long lines wrap at the field's edge.
    txtAboutBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtAboutBox->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette palette = txtAboutBox->palette();
    palette.setColor(QPalette::Base, TextBoxGrey);
    txtAboutBox->setPalette(palette);
    const int height = txtAboutBox->fontMetrics().lineSpacing() * TextLines
                       + 2 * txtAboutBox->frameWidth()
                       + 2 * qCeil(txtAboutBox->document()->documentMargin());
    txtAboutBox->setGeometry(Margin, Image1->geometry().bottom() + 1 + Margin, Image1->width(),
                             height);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    const QSize button = cmdOK->sizeHint().expandedTo(QSize(90, 0));
    const int centre = txtAboutBox->geometry().center().x();
    cmdOK->setGeometry(centre - button.width() / 2, txtAboutBox->geometry().bottom() + 1 + Margin,
                       button.width(), button.height());
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &FrmAbout::cmdOK_Click);
}

void FrmAbout::Form_Load()
{
    // The file's lines end in CR LF; the field knows only one line break.
    QString text = ReadAboutText(m_aboutPath);
    txtAboutBox->setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void FrmAbout::cmdOK_Click()
{
    close();
}

void FrmAbout::open(QWidget *parent, const QString &aboutPath)
{
    auto *box = new FrmAbout(parent, aboutPath);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->Form_Load();
    box->exec();
}

} // namespace lw
