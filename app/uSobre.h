#pragma once
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
class TfrmSobre : public QDialog {
    Q_OBJECT
public:
    TfrmSobre();

    QFrame* Panel1;
    QFrame* Shape2;
    QLabel* Image1;
    QFrame* Shape1;
    QLabel* Label1;
    QLabel* Image2;
    THotLink* JvHotLink2;
    THotLink* JvHotLink1;
    QFrame* Panel2;
    QPushButton* SpeedButton1;

    void SpeedButton1Click();
};

extern TfrmSobre* frmSobre;
