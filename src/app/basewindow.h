#pragma once

#include "abstractstate.h"
#include "enums.h"
#include "keypressfilter.h"
#include "updatecheckerror.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class AbstractDeviceServices;
class AbstractNetworkServices;
class AbstractPackageServices;
class QPushButton;

namespace Ui {
class BaseWindow;
}

// The wizard's window: the header, the page stack with its bar of three buttons, the settings layer,
// and the history of visited pages that "Back", "Retry", tagged returns and the reset walk through.
// The derived window supplies the pages and the first one.
class BaseWindow : public QMainWindow, public KeyEventConsumer
{
    Q_OBJECT

public:
    using Action = std::function<void()>;

    BaseWindow(AbstractDeviceServices *deviceServices, AbstractNetworkServices *networkServices,
               AbstractPackageServices *packageServices, QWidget *parent = nullptr);
    ~BaseWindow() override;

    // The recorded states, oldest first; the last one is the current page.
    const std::vector<std::unique_ptr<AbstractState>> &history() const { return m_history; }
    // The text built for a failed server request.
    static QString serverErrorText(const UpdateCheckError &error);

public Q_SLOTS:
    void showSuccessPage();
    void showErrorPage();
    void showPreviousStableState();
    void showPreviousUnstableState();
    void resetHistoryAndShowFirstPage();
    void callTaggedHistoryStep(STATE_TAG _tag);
    void setUpdateButtonText(QString _strButtonText);

Q_SIGNALS:
    void setProgress(int _nPercent);

protected:
    virtual void showFirstPage() = 0;
    virtual void onSecretSequence() = 0;

    // Every page method calls this first, with a way to show the page again.
    void recordState(Action enter, int flags, STATE_TAG tag = ST_UNTAGGED);
    // Shows the button with the text; a click runs only the given action.
    void showButton(QPushButton *button, const QString &text, Action action, bool enabled = true);
    void hideButton(QPushButton *button);
    // Fill the notice pages; a button whose action is empty is hidden ("Next" of the success page is
    // always shown), and the left button always reads "Exit" and quits. The error page shows an error,
    // or with setNoticePage a notice on the way, which does not flag the taskbar entry.
    void setErrorPage(const QString &text, const QString &backText = QString(), Action back = Action(),
                      const QString &nextText = QString(), Action next = Action());
    void setNoticePage(const QString &text, const QString &backText = QString(), Action back = Action(),
                       const QString &nextText = QString(), Action next = Action());
    void setSuccessPage(const QString &text, const QString &backText = QString(), Action back = Action(),
                        const QString &nextText = QString(), Action next = Action());
    // Shows the error page as last filled without recording a state (notices inside an operation).
    void displayErrorPage();

    void keyPressed(QKeyEvent *event) override;
    void mousePressed() override;

    Ui::BaseWindow *const ui;
    AbstractDeviceServices *const deviceServices;
    AbstractNetworkServices *const networkServices;
    AbstractPackageServices *const packageServices;

private Q_SLOTS:
    void _pageChanged(int _nIndex);

private:
    struct NoticeContent
    {
        QString text;
        QString backText;
        Action back;
        QString nextText;
        Action next;
        bool isError = true;
    };

    void showPreviousState(bool stable);
    void applyNoticeButtons(const NoticeContent &content, bool alwaysShowNext);
    void showNotice(QWidget *page, const NoticeContent &content, bool alwaysShowNext);

    std::vector<std::unique_ptr<AbstractState>> m_history;
    NoticeContent m_errorContent;
    NoticeContent m_successContent;
    QString m_keyBuffer;
    KeyPressFilter m_keyFilter;
};
