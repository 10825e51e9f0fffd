#pragma once

#include <QMainWindow>

namespace kvx {

// A window of the program, sized and placed in twips. Load runs once when
// the form is first created; Unload when the user closes it.
class Form : public QMainWindow
{
    Q_OBJECT

public:
    explicit Form(QWidget *parent = nullptr);

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString &caption) { setWindowTitle(caption); }

    // Outer size and position in twips.
    int Width() const;
    int Height() const;
    void setWidth(int twips);
    void setHeight(int twips);
    void Move(int left, int top, int width, int height);

    void Show();

protected:
    // Return false to keep the window open.
    virtual bool Form_Unload() { return true; }
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void applySize();

    // The outer size as assigned; the frame is known only once shown.
    double m_width = -1;
    double m_height = -1;
    bool m_applying = false;
};

int pixelsFromTwips(double twips);

} // namespace kvx
