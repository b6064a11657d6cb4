#include "core/canvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QLineF>
#include <QPainter>
#include <QRectF>
#include <algorithm>
#include <cstdlib>

namespace tav {

namespace {

// Liang-Barsky: cuts the line to the rectangle; false when nothing is left.
bool clipLine(QLineF &l, const QRectF &r)
{
    double t0 = 0, t1 = 1;
    const double dx = l.dx(), dy = l.dy();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {l.x1() - r.left(), r.right() - l.x1(), l.y1() - r.top(), r.bottom() - l.y1()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF a = l.p1(), d(dx, dy);
    l = QLineF(a + d * t0, a + d * t1);
    return true;
}

} // namespace

Picture::Picture(int width, int height, QColor background)
    : m_image(width, height, QImage::Format_RGB32), m_background(background)
{
    m_image.fill(background);
}

void Picture::clear()
{
    m_image.fill(m_background);
    changed();
}

void Picture::point(int x, int y, QColor c)
{
    if (x >= 0 && y >= 0 && x < m_image.width() && y < m_image.height())
        m_image.setPixel(x, y, c.rgb());
    changed();
}

void Picture::line(int x1, int y1, int x2, int y2, QColor c)
{
    // Bresenham, so that exactly the pixels of the line (ends included) change,
    // whatever the paint engine would do with a 1-pixel pen.
    const QRgb rgb = c.rgb();
    const int w = m_image.width(), h = m_image.height();
    // A line reaching far outside is first cut to a margin around the
    // picture, so that its length stays bounded.
    const int m = 4 * std::max(w, h);
    auto far = [m](int v) { return v < -m || v > m; };
    if (far(x1) || far(y1) || far(x2) || far(y2)) {
        QLineF l(x1, y1, x2, y2);
        const QRectF r(-m, -m, 2.0 * m, 2.0 * m);
        if (!clipLine(l, r))
            return;
        x1 = qRound(l.x1());
        y1 = qRound(l.y1());
        x2 = qRound(l.x2());
        y2 = qRound(l.y2());
    }
    int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        if (x1 >= 0 && y1 >= 0 && x1 < w && y1 < h)
            m_image.setPixel(x1, y1, rgb);
        if (x1 == x2 && y1 == y2)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x1 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y1 += sy;
        }
    }
    changed();
}

void Picture::box(int x1, int y1, int x2, int y2, QColor c)
{
    const int l = std::max(0, std::min(x1, x2)), r = std::min(m_image.width() - 1, std::max(x1, x2));
    const int t = std::max(0, std::min(y1, y2)), b = std::min(m_image.height() - 1, std::max(y1, y2));
    const QRgb rgb = c.rgb();
    for (int y = t; y <= b; ++y)
        for (int x = l; x <= r; ++x)
            m_image.setPixel(x, y, rgb);
    changed();
}

void Picture::print(int x, int y, const QString &text, QColor c)
{
    QPainter p(&m_image);
    // Text in the drawing colour only, as single points: no blended edges.
    QFont f = m_font;
    f.setStyleStrategy(QFont::NoAntialias);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(f);
    p.setPen(c);
    const QFontMetrics fm(f);
    p.drawText(x, y + fm.ascent(), text);
    p.end();
    changed();
}

QColor Picture::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height())
        return {};
    return QColor(m_image.pixel(x, y));
}

int Picture::count(int x1, int y1, int x2, int y2, QColor c) const
{
    int n = 0;
    const QRgb rgb = c.rgb();
    for (int y = std::min(y1, y2); y <= std::max(y1, y2); ++y)
        for (int x = std::min(x1, x2); x <= std::max(x1, x2); ++x)
            if (x >= 0 && y >= 0 && x < m_image.width() && y < m_image.height() && m_image.pixel(x, y) == rgb)
                ++n;
    return n;
}

Canvas::Canvas(const QString &name, int width, int height, QColor background, QWidget *parent)
    : QWidget(parent), m_picture(width, height, background)
{
    setObjectName(name);
    setFixedSize(width, height);
    setMouseTracking(true);
    // The image covers every pixel, so nothing underneath needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_picture.setChanged([this] { update(); });
}

void Canvas::paintEvent(QPaintEvent *ev)
{
    QPainter p(this);
    p.drawImage(ev->rect(), m_picture.image(), ev->rect());
}

void Canvas::mouseMoveEvent(QMouseEvent *ev)
{
    const QPoint pos = ev->position().toPoint();
    emit mouseMoved(pos.x(), pos.y());
    QWidget::mouseMoveEvent(ev);
}

void Canvas::mousePressEvent(QMouseEvent *ev)
{
    const QPoint pos = ev->position().toPoint();
    emit mousePressed(pos.x(), pos.y());
    QWidget::mousePressEvent(ev);
}

} // namespace tav
