#pragma once

#include "platform/fonts.h"
#include "platform/lightcontrol.h"
#include "platform/units.h"

#include <QFont>

namespace kvx {

// A label. With AutoSize it takes the size of its caption (with WordWrap as
// well, it keeps its width and grows downwards); otherwise its caption wraps
// at its width and is cut at its bottom edge.
class Label : public LightControl, public FontProperties<Label>
{
public:
    enum { Transparent = 0, Opaque = 1 };
    enum { LeftJustify = 0, RightJustify = 1, Center = 2 };

    explicit Label(Key key);
    Label(const Label &other, Key key);

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wordWrap);

    quint32 ForeColor() const { return m_foreColor; }
    void setForeColor(quint32 color);
    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 color);
    int BackStyle() const { return m_backStyle; }
    void setBackStyle(int style);
    int Alignment() const { return m_alignment; }
    void setAlignment(int alignment);
    // 0 none, 1 a single line.
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);

    const FontDesc &fontDesc() const { return m_fontDesc; }
    void setFontDesc(const FontDesc &desc);
    // The installed font that stands in for it.
    const QFont &font() const { return m_font; }

protected:
    void paint(QPainter &painter) const override;
    std::unique_ptr<LightControl> clone() const override;
    void fitSize() override;

private:
    // Owes the caption's size, if AutoSize.
    void fitToCaption();

    QString m_caption;
    FontDesc m_fontDesc;
    QFont m_font;
    quint32 m_foreColor = SysButtonText;
    quint32 m_backColor = SysButtonFace;
    int m_backStyle = Opaque;
    int m_alignment = LeftJustify;
    int m_borderStyle = 0;
    bool m_autoSize = false;
    bool m_wordWrap = false;
};

} // namespace kvx
