#include "platform/label.h"

#include "platform/core/services.h"
#include "platform/paintexport.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QRawFont>
#include <QTextOption>

#include <cmath>

namespace kvx {

namespace {

struct CaptionKey
{
    FontDesc font;
    QString caption;
    bool operator==(const CaptionKey &) const = default;
};

size_t qHash(const CaptionKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.font.name, key.font.size, key.font.bold, key.font.italic, key.caption);
}

// Rack and card names are capitals, digits and a few signs. The classic faces
// are drawn without kerning, and no ligature joins such characters, so the
// advance of such a name is the sum of its characters': a name is measured
// without being shaped as a whole.
bool plainName(const QString &caption)
{
    for (const QChar c : caption) {
        const char16_t u = c.unicode();
        if (!((u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'-' || u == u' ' || u == u'.' || u == u'/'))
            return false;
    }
    return true;
}

// A name written down its label a letter a line: each character followed by a blank.
bool spelledDown(const QString &caption)
{
    if (caption.size() < 4 || caption.size() % 2)
        return false;
    for (qsizetype i = 0; i < caption.size(); i += 2) {
        if (caption[i] == QLatin1Char(' ') || caption[i + 1] != QLatin1Char(' '))
            return false;
    }
    return true;
}

qreal advance(const QFontMetricsF &metrics, const QString &caption)
{
    if (!plainName(caption))
        return metrics.horizontalAdvance(caption);
    qreal sum = 0;
    for (const QChar c : caption)
        sum += metrics.horizontalAdvance(c);
    return sum;
}

// The advance and height of a one-line caption. Rack names are measured in
// the room and again in the ring grid: each text is measured once per font.
QSizeF oneLineSize(const FontDesc &desc, const QFont &font, const QString &caption)
{
    static QHash<CaptionKey, QSizeF> sizes;
    CaptionKey key{desc, caption};
    key.font.underline = false; // the underline does not change the advance
    const auto found = sizes.constFind(key);
    if (found != sizes.constEnd())
        return *found;
    if (sizes.size() > 4096)
        sizes.clear(); // captions typed in the editor need not stay
    const QFontMetricsF metrics(font);
    const QSizeF size(advance(metrics, caption), metrics.height());
    sizes.insert(key, size);
    return size;
}

// A plain name on one line, drawn straight from its glyphs where it would be
// laid out as one line anyway: the room plan paints hundreds of rack names,
// and laying out each as a text is most of the work of its first paint. The
// glyphs stand where the text layout puts them: at the top of the area, each
// after the advance of the one before. False when the caption needs the
// text layout after all, which then draws it.
bool drawPlainLine(QPainter &painter, const QFont &font, const QRectF &area, const QString &caption,
                   Qt::Alignment horizontal, bool mayWrap)
{
    if (!plainName(caption) || caption.endsWith(QLatin1Char(' ')) || font.underline() || font.strikeOut()
        || font.overline())
        return false;
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
        return false;
    const QList<quint32> glyphs = raw.glyphIndexesForString(caption);
    // A character the face lacks would be drawn from a fallback face.
    if (glyphs.size() != caption.size() || glyphs.contains(0))
        return false;
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    qreal width = 0;
    for (const QPointF &advance : advances) {
        positions.append(QPointF(width, 0));
        width += advance.x();
    }
    // A caption wider than a wrapping label is broken into lines.
    if (mayWrap && width > area.width())
        return false;
    qreal x = area.left();
    if (horizontal & Qt::AlignRight)
        x = area.right() - width;
    else if (horizontal & Qt::AlignHCenter)
        x = area.left() + (area.width() - width) / 2;
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(x, area.top() + raw.ascent()), run);
    return true;
}

} // namespace

Label::Label(Key key) : LightControl(key), m_font(classicFont(m_fontDesc))
{
}

Label::Label(const Label &other, Key key)
    : LightControl(other, key),
      m_caption(other.m_caption),
      m_fontDesc(other.m_fontDesc),
      m_font(other.m_font),
      m_foreColor(other.m_foreColor),
      m_backColor(other.m_backColor),
      m_backStyle(other.m_backStyle),
      m_alignment(other.m_alignment),
      m_borderStyle(other.m_borderStyle),
      m_autoSize(other.m_autoSize),
      m_wordWrap(other.m_wordWrap)
{
}

std::unique_ptr<LightControl> Label::clone() const
{
    return std::make_unique<Label>(*this, key());
}

void Label::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    fitToCaption();
    repaint();
}

void Label::setAutoSize(bool autoSize)
{
    settleSize(); // a fit owed for the caption is kept when AutoSize goes off
    m_autoSize = autoSize;
    fitToCaption();
}

void Label::setWordWrap(bool wordWrap)
{
    m_wordWrap = wordWrap;
    fitToCaption();
    repaint();
}

void Label::setForeColor(quint32 color)
{
    m_foreColor = color;
    repaint();
}

void Label::setBackColor(quint32 color)
{
    m_backColor = color;
    repaint();
}

void Label::setBackStyle(int style)
{
    m_backStyle = style;
    repaint();
}

void Label::setAlignment(int alignment)
{
    m_alignment = alignment;
    repaint();
}

void Label::setBorderStyle(int style)
{
    m_borderStyle = style;
    fitToCaption();
    repaint();
}

void Label::setFontDesc(const FontDesc &desc)
{
    m_fontDesc = desc;
    m_font = classicFont(desc);
    fitToCaption();
    repaint();
}

void Label::fitToCaption()
{
    if (m_autoSize)
        unsettleSize();
}

void Label::fitSize()
{
    if (!m_autoSize)
        return;
    const int border = m_borderStyle ? 2 : 0;
    // One line, the usual caption, needs no text layout: its advance is its width.
    if (!m_wordWrap && !m_caption.contains(QLatin1Char('\n'))) {
        const QSizeF text = oneLineSize(m_fontDesc, m_font, m_caption);
        setSize(std::ceil(text.width() + border) * TwipsPerPixel, std::ceil(text.height() + border) * TwipsPerPixel);
        return;
    }
    const QFontMetricsF metrics(m_font);
    if (m_wordWrap) {
        const double inner = std::max(1.0, Width() / TwipsPerPixel - border);
        const QRectF text = metrics.boundingRect(QRectF(0, 0, inner, 1e6), Qt::TextWordWrap, m_caption);
        const double lines = std::max(text.height(), metrics.height());
        setSize(Width(), std::ceil(lines + border) * TwipsPerPixel);
        return;
    }
    const QRectF text = metrics.boundingRect(QRectF(), Qt::AlignLeft, m_caption);
    const double height = std::max(text.height(), metrics.height());
    setSize(std::ceil(text.width() + border) * TwipsPerPixel, std::ceil(height + border) * TwipsPerPixel);
}

void Label::paint(QPainter &painter) const
{
    const QRect area = pixelRect();
    if (m_backStyle == Opaque)
        painter.fillRect(area, resolveColor(m_backColor));
    QRectF textArea(area);
    if (m_borderStyle) {
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area.adjusted(0, 0, -1, -1));
        textArea.adjust(1, 1, -1, -1);
    }
    if (m_caption.isEmpty())
        return;
    const Qt::Alignment horizontal = m_alignment == RightJustify ? Qt::AlignRight
                                     : m_alignment == Center     ? Qt::AlignHCenter
                                                                 : Qt::AlignLeft;
    QTextOption option(horizontal | Qt::AlignTop);
    const bool singleLine = m_autoSize && !m_wordWrap;
    option.setWrapMode(singleLine ? QTextOption::NoWrap : QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.setFont(m_font);
    painter.setPen(Enabled() ? resolveColor(m_foreColor) : resolveColor(SysGrayText));
    // Glyphs alone carry no text: in a file or on paper the name must stay searchable.
    if (paintsVectors(painter) || !drawPlainLine(painter, m_font, textArea, m_caption, horizontal, !singleLine))
        painter.drawText(textArea, m_caption, option);
    // Found there only as one word, a name written down is written once
    // more, whole and unseen.
    if (paintsVectors(painter) && spelledDown(m_caption)) {
        painter.setPen(Qt::transparent);
        painter.drawText(textArea, QString(m_caption).remove(QLatin1Char(' ')), QTextOption(Qt::AlignLeft));
    }
    painter.restore();
}

} // namespace kvx
