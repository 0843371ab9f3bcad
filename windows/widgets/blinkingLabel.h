#pragma once
#include <QLabel>
#include <QTimer>

// A label whose text is shown and hidden in turn. It blinks only while it is on screen, so a hidden
// window costs no processor time.
class TBlinkingLabel : public QLabel {
    Q_OBJECT
public:
    TBlinkingLabel(int shownMs, int hiddenMs, QWidget* parent = nullptr);
    bool TextShown() const { return m_shown; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void toggle();
    int m_shownMs;
    int m_hiddenMs;
    bool m_shown = true;
    QTimer m_timer;
};
