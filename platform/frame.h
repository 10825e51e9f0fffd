#pragma once

#include "platform/units.h"
#include "platform/windowedcontrol.h"

namespace kvx {

// A frame: a container with a caption on its etched border. Positions inside
// it are measured from its outer top left corner.
class Frame : public Container, public WindowedControl
{
    Q_OBJECT

public:
    explicit Frame(QWidget *parent);
    Frame *loadCopy() const;

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    // 0 none (no caption either), 1 the etched border with its caption.
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);
    quint32 ForeColor() const { return m_foreColor; }
    void setForeColor(quint32 color);

protected:
    bool event(QEvent *event) override;
    void paintFrame(QPainter &painter) override;

private:
    QString m_caption;
    int m_borderStyle = 1;
    quint32 m_foreColor = SysButtonText;
};

} // namespace kvx
