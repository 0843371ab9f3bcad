#pragma once
#include "windows/widgets/deferredControls.h"

#include <QDialog>
#include <QLabel>
#include <QUrl>
#include <functional>

class QFrame;
class QPushButton;

// Where the About box points: the product's web page and the maker's mail address, given by the build
// (VT_SITE_ADDRESS, VT_MAIL_ADDRESS). An empty one is not shown: no link that leads nowhere.
namespace about {
const char* SiteAddress();
const char* MailAddress();
} // namespace about

// A text that opens its target with the system's default handler when clicked; blue and underlined
// while the mouse is over it.
class THotLink : public QLabel {
    Q_OBJECT
public:
    THotLink(const QString& caption, const QUrl& target, QWidget* parent);
    void Open() const;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setHot(bool hot);
    QUrl m_target;
};

// For tests: while set, links are handed here instead of to the system.
void SetLinkOpener(std::function<void(const QUrl&)> opener);

// The About box.
class TfrmSobre : public DeferredControls<QDialog> {
    Q_OBJECT
public:
    TfrmSobre();

    TControl<QFrame> Panel1{this};
    TControl<QFrame> Shape2{this};
    TControl<QLabel> Image1{this};
    TControl<QFrame> Shape1{this};
    TControl<QLabel> Label1{this};
    TControl<QLabel> Image2{this};
    TControl<THotLink> JvHotLink2{this};
    TControl<THotLink> JvHotLink1{this};
    TControl<QFrame> Panel2{this};
    TControl<QPushButton> SpeedButton1{this};

    void SpeedButton1Click();

private:
    void BuildControls() override;
};

extern TfrmSobre* frmSobre;
