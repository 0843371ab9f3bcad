#pragma once
// Driving the roster, the access dialog and the editor with keys, for the account tests.
#include "core/storage/profileKeys.h"
#include "core/storage/registry.h"
#include "support/testProgram.h"
#include "windows/course/uPassWord.h"
#include "windows/course/uTela.h"
#include "windows/course/uUser.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>
#include <vector>

using Step = std::function<void(QWidget*)>;

// Acts on the modal dialogs that open one after another, each step on the next new one. The count
// of steps that ran lets a test see that no dialog was missing.
inline std::shared_ptr<int> OnDialogs(std::vector<Step> steps) {
    auto done = std::make_shared<int>(0);
    auto queue = std::make_shared<std::vector<Step>>(std::move(steps));
    auto next = std::make_shared<std::function<void(QWidget*)>>();
    *next = [=](QWidget* previous) {
        if (static_cast<std::size_t>(*done) >= queue->size())
            return;
        WhenModal(
            [=](QWidget* modal) {
                const Step step = (*queue)[static_cast<std::size_t>(*done)];
                ++*done;
                (*next)(modal); // armed before the step, whose keys may block in the next dialog
                step(modal);
                // A failed check inside a step must not leave the test waiting on an open dialog.
                if (QTest::currentTestFailed() && modal->isVisible())
                    modal->close();
            },
            previous, 3000);
    };
    (*next)(nullptr);
    return done;
}

// A button pressed from the keyboard: focused, then the space bar.
inline void Press(QAbstractButton* button) {
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
}

// Typed key by key; a character beyond ASCII comes as a key carrying only its text, as from a
// keyboard layout or an input method.
inline void Type(QLineEdit* box, const QString& text) {
    box->setFocus();
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(box, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &release);
    }
}

// The access dialog filled in and answered with Enter.
inline Step Identify(const QString& name, const QString& password) {
    return [=](QWidget*) {
        if (!name.isNull() && frmPassWord->txtName->isEnabled()) {
            frmPassWord->txtName->selectAll();
            Type(frmPassWord->txtName, name);
        }
        if (frmPassWord->txtPassWord->isEnabled())
            Type(frmPassWord->txtPassWord, password);
        QTest::keyClick(frmPassWord->txtPassWord, Qt::Key_Return);
    };
}

// The editor filled in as a new student and saved.
inline Step FillAndSave(const QString& name, const QString& password, int level) {
    return [=](QWidget*) {
        Type(frmUser->txtName, name);
        Type(frmUser->txtPassWord, password);
        Press(frmUser->opcUSer->Item(level));
        Press(frmUser->cmdSave);
    };
}

// A save that must be refused: the editor stays open, and is then left with Esc.
inline Step FillSaveAndLeave(const QString& name, const QString& password, int level) {
    return [=](QWidget* editor) {
        FillAndSave(name, password, level)(editor);
        QVERIFY(editor->isVisible());
        QTest::keyClick(editor, Qt::Key_Escape);
    };
}

inline Step PressEscape() {
    return [](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); };
}

inline std::string Marker() {
    return ReadRegistryValue(keys::MarkerValuePath);
}

inline void SelectStudent(const QString& name) {
    const auto found = frmTela->lstUsr->findItems(name, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    frmTela->lstUsr->setCurrentItem(found.first());
}

inline QStringList Roster() {
    QStringList names;
    for (int i = 0; i < frmTela->lstUsr->count(); ++i)
        names << frmTela->lstUsr->item(i)->text();
    return names;
}
