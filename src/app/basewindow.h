#pragma once

#include "abstractstate.h"
#include "enums.h"
#include "keypressfilter.h"
#include "updatecheckerror.h"

#include <QList>
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
    // Shows the button with the text; a click runs only the given action. The window gives the buttons of
    // the bar their mnemonics, so the text has none.
    void showButton(QPushButton *button, const QString &text, Action action, bool enabled = true);
    void hideButton(QPushButton *button);
    // The left button of the bar as "Exit", which quits; Escape never presses it.
    void showExitButton();
    // Makes the page the current one of the wizard's stack; focus then goes into it.
    void showPage(QWidget *page);
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
    // Enter and Escape that the focused control does not use: Enter presses the focused push button or
    // else the page's main button, Escape "Back" or else "Cancel".
    void keyPressEvent(QKeyEvent *event) override;

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
    // The page shown in the current layer (wizard or settings) and that layer's buttons: main, back, left.
    QWidget *currentPage() const;
    QList<QPushButton *> barButtons() const;
    // Focus goes to the page's first control in the Tab order, or on a page without one (a job's stages)
    // to the leftmost button of the bar that can be pressed.
    void focusCurrentPage();
    // When the focused button is about to go, focus leaves it first, so that it does not wander to the
    // next control (often the header's "Settings") before the window places it.
    void releaseFocus(QPushButton *button);
    // The bar's buttons get a mnemonic that no other control of the page and the header uses: the first
    // letter of a word of their text where possible, the main button first.
    void assignMnemonics();
    void applyNoticeButtons(const NoticeContent &content, bool alwaysShowNext);
    void showNotice(QWidget *page, const NoticeContent &content, bool alwaysShowNext);

    std::vector<std::unique_ptr<AbstractState>> m_history;
    NoticeContent m_errorContent;
    NoticeContent m_successContent;
    QString m_keyBuffer;
    KeyPressFilter m_keyFilter;
    bool m_leftButtonQuits = false;
};
