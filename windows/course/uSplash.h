#pragma once
#include <QTimer>
#include <QWidget>

class QLabel;

// The splash: the program's first window and its main window; it gives way to the roster after 3 s.
class Tfrmsplash : public QWidget {
    Q_OBJECT
public:
    Tfrmsplash();

    QLabel* Image1;
    QLabel* Label1;
    QTimer* tmrOcultar;

    void FormCreate();
    void tmrOcultarTimer();
    // Start-up calls this once the splash is on screen.
    void SplashShown();

private:
    bool m_expiredWhileHidden = false;
};

extern Tfrmsplash* frmsplash;
