#include "widgets/makers.h"

#include "storage/studentName.h"
#include "widgets/designScale.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

void DesignDialog(QWidget* dialog, const char* name, int width, int height) {
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowModality(Qt::ApplicationModal);
    DesignScale().designWindow(dialog, width, height, QStringLiteral("MS Sans Serif"), 11);
    CentreOnScreen(dialog);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& place) {
    QPushButton* b = MakeButton(parent, name, caption);
    b->setGeometry(place);
    return b;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    return label;
}

QLabel* MakeSunkenLabel(QWidget* parent, const char* name, const QString& text, const QRect& place) {
    QLabel* label = MakeLabel(parent, name, text, place);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    return label;
}

QPushButton* MakeGlyphButton(QWidget* parent, const char* name, const QString& caption,
                             QStyle::StandardPixmap glyph) {
    QPushButton* b = MakeButton(parent, name, caption);
    b->setIcon(parent->style()->standardIcon(glyph));
    b->setAutoDefault(false);
    return b;
}

QTimer* MakeTimer(QObject* parent, const char* name, int intervalMs) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(intervalMs);
    timer->setTimerType(Qt::PreciseTimer);
    return timer;
}

QLineEdit* MakeTextBox(QWidget* parent, const char* name, const QRect& place, const QLabel* label) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(place);
    box->setAccessibleName(label->text());
    return box;
}

QLineEdit* MakePasswordBox(QWidget* parent, const char* name, const QRect& place, const QLabel* label) {
    QLineEdit* box = MakeTextBox(parent, name, place, label);
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }")); // "*"
    box->setMaxLength(kMaxPasswordLength);
    return box;
}
