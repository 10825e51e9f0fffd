#pragma once

#include "platform/picture.h"
#include "platform/units.h"
#include "platform/windowedcontrol.h"

#include <optional>
#include <vector>

namespace kvx {

// A picture box: a container with a picture drawn unscaled from its top left
// and with Line and Circle drawing in twips. What is drawn is kept as a list
// and painted again whenever the box is exposed, until Cls.
class PictureBox : public Container, public WindowedControl
{
    Q_OBJECT

public:
    enum LineMode { Segment, Box, BoxFilled };

    explicit PictureBox(QWidget *parent);
    PictureBox *loadCopy() const;

    const kvx::Picture &Picture() const { return m_picture; }
    void setPicture(const kvx::Picture &picture);
    // 0 none, 1 a sunken border; the client area lies inside it.
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);
    quint32 ForeColor() const { return m_foreColor; }
    void setForeColor(quint32 color);
    // Pen width of the drawing, in pixels.
    int DrawWidth() const { return m_drawWidth; }
    void setDrawWidth(int pixels);

    void Cls();
    // A segment, or with Box a rectangle with these corners; no colour draws in ForeColor.
    void Line(double x1, double y1, double x2, double y2, std::optional<quint32> color = {}, LineMode mode = Segment);
    // An ellipse or an arc. Angles in radians, counter-clockwise from three
    // o'clock, the arc running counter-clockwise from start to end; a negative
    // angle also draws the radius to that end. Aspect is height / width: below
    // 1 the radius is the horizontal one, above 1 the vertical one.
    void Circle(double x, double y, double radius, std::optional<quint32> color = {}, std::optional<double> start = {},
                std::optional<double> end = {}, double aspect = 1.0);
    int drawingCount() const { return int(m_drawing.size()); }

protected:
    bool event(QEvent *event) override;
    void paintBackground(QPainter &painter, const QRect &exposed) override;
    void paintFrame(QPainter &painter) override;

private:
    struct Stroke
    {
        enum Kind { Segment, Box, BoxFilled, Arc } kind = Segment;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // twips: ends, corners, or centre and radii
        double start = 0, span = 0;            // radians
        bool radiusToStart = false, radiusToEnd = false;
        quint32 color = 0;
        int width = 1;
    };
    void addStroke(const Stroke &stroke);
    static void paintStroke(QPainter &painter, const Stroke &stroke);

    kvx::Picture m_picture;
    std::vector<Stroke> m_drawing;
    int m_borderStyle = 1;
    quint32 m_foreColor = SysButtonText;
    int m_drawWidth = 1;
};

} // namespace kvx
