#pragma once

#include "widgets/ledcolors.h"

#include <QPixmap>
#include <QWidget>

#include <optional>

class QTimer;

// A 16 x 16 indicator lamp showing one of the TLedLittleColor bitmaps. While a
// mouse button is held on it, it shows ClicLedColor; with Blink on and a
// positive Interval it alternates between LedColor and ClicLedColor, each for
// one Interval, and raises OnBlink after every step.
class TLedLittle : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(TLedLittleColor LedColor READ LedColor WRITE setLedColor)
    Q_PROPERTY(TLedLittleColor ClicLedColor READ ClicLedColor WRITE setClicLedColor)
    Q_PROPERTY(int Interval READ Interval WRITE setInterval)
    Q_PROPERTY(bool Blink READ Blink WRITE setBlink)

public:
    explicit TLedLittle(QWidget *parent = nullptr);

    TLedLittleColor LedColor() const { return m_ledColor; }
    void setLedColor(TLedLittleColor color);

    TLedLittleColor ClicLedColor() const { return m_clicLedColor; }
    void setClicLedColor(TLedLittleColor color) { m_clicLedColor = color; }

    // Milliseconds each colour is shown while blinking; 0 or less stops it.
    int Interval() const { return m_interval; }
    void setInterval(int milliseconds);

    bool Blink() const { return m_blink; }
    void setBlink(bool on);

    QSize sizeHint() const override;

signals:
    void OnBlink();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void restorePressColor();
    void startBlinking();
    void stopBlinking();
    void blinkStep();
    void showColor();

    TLedLittleColor m_ledColor = lcBlack;
    TLedLittleColor m_clicLedColor = lcDarkGray;
    int m_interval = 250;
    bool m_blink = false;
    // Set while blinking shows ClicLedColor: the LedColor to bring back.
    std::optional<TLedLittleColor> m_blinkSavedColor;
    // Set while a press shows ClicLedColor: the LedColor to bring back.
    std::optional<TLedLittleColor> m_pressSavedColor;
    QTimer *const m_blinkTimer;
    QPixmap m_picture;
};
