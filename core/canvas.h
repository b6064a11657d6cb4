#pragma once
// Drawing in pixels that stays when a window is covered: the drawing windows
// paint into an image that keeps every pixel, and the widget only shows it.
// `Picture` is the image with the few primitives the windows use (one-pixel
// lines with both end points, filled boxes with both corners, single points
// and printed text), usable without any widget; `Canvas` shows a Picture.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>

namespace tav {

class Picture {
public:
    Picture(int width, int height, QColor background);

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    QColor background() const { return m_background; }
    const QImage &image() const { return m_image; }

    // Every pixel in the background colour.
    void clear();
    // A one-pixel line from (x1,y1) to (x2,y2), both end points drawn.
    void line(int x1, int y1, int x2, int y2, QColor c);
    // A filled box with (x1,y1) and (x2,y2) as opposite corners, both included.
    void box(int x1, int y1, int x2, int y2, QColor c);
    void point(int x, int y, QColor c);
    // Text with its top-left corner at (x,y).
    void print(int x, int y, const QString &text, QColor c);
    void setFont(const QFont &f) { m_font = f; }

    // The colour at (x,y); an invalid colour outside the picture.
    QColor pixel(int x, int y) const;
    // Counts the pixels of colour c in the box (x1,y1)-(x2,y2), corners included.
    int count(int x1, int y1, int x2, int y2, QColor c) const;

    // Puts back a picture noted earlier (same size), e.g. as it was designed.
    void setImage(const QImage &img)
    {
        m_image = img;
        changed();
    }

    // Called after every change (the widget repaints).
    void setChanged(std::function<void()> f) { m_changed = std::move(f); }

private:
    void changed()
    {
        if (m_changed)
            m_changed();
    }

    QImage m_image;
    QColor m_background;
    QFont m_font;
    std::function<void()> m_changed;
};

// Shows a Picture at its own size; what is drawn survives covering and
// uncovering because paintEvent copies the kept image.
class Canvas : public QWidget {
    Q_OBJECT
public:
    Canvas(const QString &name, int width, int height, QColor background, QWidget *parent);
    Picture &picture() { return m_picture; }
    const Picture &picture() const { return m_picture; }

signals:
    void mouseMoved(int x, int y);
    void mousePressed(int x, int y);

protected:
    void paintEvent(QPaintEvent *ev) override;
    void mouseMoveEvent(QMouseEvent *ev) override;
    void mousePressEvent(QMouseEvent *ev) override;

private:
    Picture m_picture;
};

} // namespace tav
