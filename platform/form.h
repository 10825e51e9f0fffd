#pragma once

#include "platform/container.h"
#include "platform/units.h"

#include <QMainWindow>

namespace kvx {

// A window of the program, sized and placed in twips. Its client area (below
// the menu bar) is a container for lightweight and windowed controls.
// Load runs Form_Load once (a form that loads itself need not call it);
// Unload asks Form_Unload and closes the window.
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
    // The size of the client area in twips.
    double ScaleWidth() const;
    double ScaleHeight() const;

    Container *clientArea() const { return m_client; }

    void Load();
    bool isLoaded() const { return m_loaded; }
    void Show();
    // Returns false when Form_Unload kept the window open.
    bool Unload();

protected:
    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    // Return false to keep the window open.
    virtual bool Form_Unload() { return true; }
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void applySize();

    Container *m_client;
    bool m_loaded = false;
    // The outer size as assigned; the frame is known only once shown.
    double m_width = -1;
    double m_height = -1;
    bool m_applying = false;
};

} // namespace kvx
