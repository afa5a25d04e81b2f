#include "widgets/ledlittle.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <utility>

TLedLittle::TLedLittle(QWidget *parent)
    : QWidget(parent)
    , m_blinkTimer(new QTimer(this))
{
    connect(m_blinkTimer, &QTimer::timeout, this, &TLedLittle::blinkStep);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    resize(sizeHint());
    showColor();
}

void TLedLittle::setLedColor(TLedLittleColor color)
{
    if (color == m_ledColor)
        return;
    m_ledColor = color;
    showColor();
}

void TLedLittle::setInterval(int milliseconds)
{
    if (milliseconds == m_interval)
        return;
    stopBlinking();
    m_interval = milliseconds;
    startBlinking();
}

void TLedLittle::setBlink(bool on)
{
    if (on == m_blink)
        return;
    m_blink = on;
    if (on) {
        // A press colour would otherwise be taken for the normal colour.
        restorePressColor();
        startBlinking();
    } else {
        stopBlinking();
    }
}

QSize TLedLittle::sizeHint() const
{
    return {LedBitmap::kSize, LedBitmap::kSize};
}

void TLedLittle::paintEvent(QPaintEvent *)
{
    QPainter(this).drawPixmap(0, 0, m_picture);
}

// The press stays accepted, so that its release comes here too.
void TLedLittle::mousePressEvent(QMouseEvent *)
{
    // Only the first of several held buttons saves the colour, so that the
    // last release brings back the colour from before the press.
    if (m_blink || m_pressSavedColor)
        return;
    m_pressSavedColor = m_ledColor;
    setLedColor(m_clicLedColor);
}

void TLedLittle::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::NoButton)
        restorePressColor();
}

void TLedLittle::restorePressColor()
{
    if (m_pressSavedColor)
        setLedColor(*std::exchange(m_pressSavedColor, std::nullopt));
}

void TLedLittle::startBlinking()
{
    if (m_blink && m_interval > 0)
        m_blinkTimer->start(m_interval);
}

void TLedLittle::stopBlinking()
{
    m_blinkTimer->stop();
    if (m_blinkSavedColor) {
        m_ledColor = *std::exchange(m_blinkSavedColor, std::nullopt);
        showColor();
    }
}

void TLedLittle::blinkStep()
{
    if (m_blinkSavedColor) {
        m_ledColor = *std::exchange(m_blinkSavedColor, std::nullopt);
    } else {
        m_blinkSavedColor = m_ledColor;
        m_ledColor = m_clicLedColor;
    }
    showColor();
    emit OnBlink();
}

// Shows the bitmap of LedColor and tells assistive tools which colour it is.
void TLedLittle::showColor()
{
    const LedBitmap::Lamp &lamp = LedBitmap::lamp(m_ledColor);
    m_picture = QPixmap(QStringLiteral(":/leds/") + QString::fromLatin1(lamp.bitmap));
    setAccessibleDescription(QString::fromLatin1(lamp.spokenName));
    update();
}
