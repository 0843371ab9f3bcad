#pragma once
#include "widgets/deferredControls.h"

#include <QDialog>
#include <QLabel>
#include <QUrl>
#include <functional>

class QFrame;
class QPushButton;

// Where the About box points: the product's web page and the maker's mail address, in one place.
namespace about {
inline constexpr const char* SiteAddress = "https://velotecla.example.com/";
inline constexpr const char* MailAddress = "contato@example.com";
} // namespace about

// A text that opens its target with the system's default handler when clicked; blue and underlined
// while the mouse is over it.
class THotLink : public QLabel {
    Q_OBJECT
public:
    THotLink(const QString& caption, const QUrl& target, QWidget* parent);
    QUrl Target() const { return m_target; }
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

    QFrame* Panel1 = nullptr;
    QFrame* Shape2 = nullptr;
    QLabel* Image1 = nullptr;
    QFrame* Shape1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Image2 = nullptr;
    THotLink* JvHotLink2 = nullptr;
    THotLink* JvHotLink1 = nullptr;
    QFrame* Panel2 = nullptr;
    QPushButton* SpeedButton1 = nullptr;

    void SpeedButton1Click();

private:
    void BuildControls() override;
};

extern TfrmSobre* frmSobre;
