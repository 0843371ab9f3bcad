#pragma once
#include <QPointer>
#include <QTimer>
#include <QWidget>

// A speech-bubble tip with an optional bold title line and a text, pointing at a control of its
// owner window; one at a time per owner, removed after its time, when the owner shows the next one,
// cancels it or hides. It never takes the focus.
class TBalloonHint : public QWidget {
    Q_OBJECT
public:
    explicit TBalloonHint(QWidget* owner);

    // Points at the middle of the lower edge of target for ms milliseconds.
    void ShowHint(QWidget* target, const QString& title, const QString& text, int ms);
    void CancelHint();

    bool IsShowing() const { return isVisible(); }
    QString HintTitle() const { return m_title; }
    QString HintText() const { return m_text; }
    QWidget* HintTarget() const { return m_target; }
    int HintDuration() const { return m_duration; }

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPainterPath shape() const;

    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_target;
    QString m_title;
    QString m_text;
    int m_duration = 0;
    bool m_tailUp = true; // the tail on the upper edge, pointing up at the control
    int m_tailX = 0;
    QTimer m_timer;
};
