#include "MockupArt.h"

#include "PaintKit.h"

#include "res/ColorRef.h"
#include "res/DialogTemplates.h"
#include "res/resource.h"

#include <QPainter>

namespace MockupArt {

namespace {

const QColor placeholder{0xf0, 0xf0, 0xf0};
const QColor placeholderEdge{0xa0, 0xa0, 0xa0};

void drawButtons(QPainter& p, const std::map<int, QImage>& bitmaps, ButtonState state)
{
    for (const ButtonDesign& b : SkinLayout::buttons()) {
        if (b.normalId == IDB_PAUSE_NORMAL)
            continue; // shares its place with play
        p.save();
        p.setClipRect(b.layout);
        p.drawImage(b.layout.topLeft(), bitmaps.at(SkinLayout::imageId(b, state)));
        p.restore();
    }
}

void drawCombo(QPainter& p, const LabelSpot& combo)
{
    const QRect r = combo.rect;
    p.fillRect(r, placeholder);
    p.setPen(placeholderEdge);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    const int thumb = r.height() - 2;
    const QRect button(r.right() - thumb, r.top() + 1, thumb, thumb);
    p.fillRect(button, QColor(0xe1, 0xe1, 0xe1));
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::black);
    p.setPen(Qt::NoPen);
    const QPointF c = QRectF(button).center();
    p.drawPolygon(QPolygonF({c + QPointF(-3.5, -1.5), c + QPointF(3.5, -1.5), c + QPointF(0, 2.5)}));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.setFont(PaintKit::sans(11));
    p.drawText(r.adjusted(4, 0, -thumb - 2, 0), Qt::AlignLeft | Qt::AlignVCenter, combo.text);
}

void drawJobList(QPainter& p)
{
    const QRect list = SkinLayout::controlRect(IDC_JOBLIST);
    p.fillRect(list, Qt::white);
    p.fillRect(QRect(list.left(), list.top(), list.width(), 20), placeholder);
    p.setFont(PaintKit::sans(11));
    int x = list.left();
    for (auto [title, width] :
         {std::pair{"Title", 120}, {"Start Time(Sec)", 79}, {"End Time(Sec)", 75}, {"Status", 120}}) {
        p.setPen(Qt::black);
        p.drawText(QRect(x + 4, list.top(), width - 8, 20), Qt::AlignVCenter, QString::fromLatin1(title));
        x += width;
        p.setPen(placeholderEdge);
        p.drawLine(x - 1, list.top(), x - 1, list.top() + 19);
    }
}

void drawProgress(QPainter& p, bool running)
{
    const QRect bar = ProgressBarRect();
    p.fillRect(bar, placeholder);
    if (running)
        p.fillRect(QRect(bar.left(), bar.top(), bar.width() * 3 / 5, bar.height()), QColor(0x66, 0x98, 0xff));
}

void drawTexts(QPainter& p)
{
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::black);
    p.setFont(PaintKit::sans(11));
    for (const LabelSpot& label : SkinLayout::labels())
        p.drawText(label.rect, Qt::AlignHCenter | Qt::AlignTop, label.text);
    p.setPen(ToQColor(CLR_SECTION_LABEL));
    p.setFont(PaintKit::lato(16, QFont::Black));
    for (const LabelSpot& heading : SkinLayout::headings())
        p.drawText(heading.rect, Qt::AlignLeft | Qt::AlignTop, heading.text);
}

void drawOutputFolder(QPainter& p)
{
    const QRect box = SkinLayout::controlRect(IDC_OUTPUTFOLDER);
    p.fillRect(box, Qt::white);
    p.setPen(Qt::black);
    p.setFont(PaintKit::sans(11));
    p.drawText(box.adjusted(1, -2, 0, 2), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("/home/user/Videos/"));
}

} // namespace

QImage compose(const std::map<int, QImage>& bitmaps, ButtonState state)
{
    QImage image = bitmaps.at(IDB_BACKGROUND).copy();
    QPainter p(&image);
    const bool startUp = state == ButtonState::Normal;
    if (startUp)
        p.drawImage(SkinLayout::controlRect(IDC_PICTURE).topLeft(), bitmaps.at(IDB_PANEL));
    else
        drawJobList(p);
    p.fillRect(SkinLayout::controlRect(IDC_ENGINE), QColor(0x0b, 0x0e, 0x12));
    drawProgress(p, !startUp);
    drawButtons(p, bitmaps, state);
    for (const LabelSpot& combo : SkinLayout::combos())
        drawCombo(p, combo);
    drawOutputFolder(p);
    drawTexts(p);
    return image;
}

} // namespace MockupArt
