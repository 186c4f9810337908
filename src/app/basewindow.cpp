#include "basewindow.h"

#include "ui_basewindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QSet>
#include <QTabBar>

namespace {

const QString secretSequence = QStringLiteral("WAYPOINTS");

// The mnemonics that the buttons, the labels of other controls and the tabs below the widget use; only
// those of shown widgets when asked, else also those of widgets the page may show later.
QSet<QKeySequence> mnemonicsBelow(const QWidget *root, bool shownOnly)
{
    QSet<QKeySequence> taken;
    const auto counts = [root, shownOnly](const QWidget *widget) { return !shownOnly || widget->isVisibleTo(root); };
    for (const QAbstractButton *button : root->findChildren<QAbstractButton *>()) {
        if (counts(button))
            taken.insert(QKeySequence::mnemonic(button->text()));
    }
    for (const QLabel *label : root->findChildren<QLabel *>()) {
        if (label->buddy() && counts(label))
            taken.insert(QKeySequence::mnemonic(label->text()));
    }
    for (const QTabBar *tabs : root->findChildren<QTabBar *>()) {
        for (int i = 0; i < tabs->count() && counts(tabs); ++i)
            taken.insert(QKeySequence::mnemonic(tabs->tabText(i)));
    }
    return taken;
}

// The text with a mnemonic on a letter that is not taken yet: the first letter of a word where
// possible, else any; without one when every letter is taken.
QString withMnemonic(const QString &text, QSet<QKeySequence> &taken)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
    const auto isFree = [&](int i) {
        return escaped.at(i).isLetterOrNumber()
               && !taken.contains(QKeySequence::mnemonic(QLatin1Char('&') + escaped.at(i)));
    };
    for (bool wordStartsOnly : {true, false}) {
        for (int i = 0; i < escaped.size(); ++i) {
            if (wordStartsOnly && i > 0 && escaped.at(i - 1).isLetterOrNumber())
                continue;
            if (isFree(i)) {
                const QString marked = escaped.left(i) + QLatin1Char('&') + escaped.mid(i);
                taken.insert(QKeySequence::mnemonic(marked));
                return marked;
            }
        }
    }
    return escaped;
}

} // namespace

BaseWindow::BaseWindow(AbstractDeviceServices *deviceServices, AbstractNetworkServices *networkServices,
                       AbstractPackageServices *packageServices, QWidget *parent)
    : QMainWindow(parent),
      ui(new Ui::BaseWindow),
      deviceServices(deviceServices),
      networkServices(networkServices),
      packageServices(packageServices),
      m_keyFilter(this)
{
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/resources/KorWind_new_2.ico")));
    ui->version->setText(QStringLiteral("v") + QStringLiteral(VKT_VERSION));
    qApp->installEventFilter(&m_keyFilter);
    connect(ui->stackedWidget, &QStackedWidget::currentChanged, this, &BaseWindow::_pageChanged);
    for (QStackedWidget *stack : {ui->layersWidget, ui->settingsStackedWidget}) {
        connect(stack, &QStackedWidget::currentChanged, this, [this] {
            assignMnemonics();
            focusCurrentPage();
        });
    }
}

BaseWindow::~BaseWindow()
{
    qApp->removeEventFilter(&m_keyFilter);
    delete ui;
    m_history.clear();
}

QString BaseWindow::serverErrorText(const UpdateCheckError &error)
{
    if (error.code == UpdateCheckError::ServerUnavailable)
        return tr("%1\nServer is not currently available. Please, try again later or contact technical support services.")
            .arg(error.text());
    return error.text();
}

void BaseWindow::showSuccessPage()
{
    const NoticeContent content = m_successContent;
    recordState([this, content] {
        m_successContent = content;
        showSuccessPage();
    }, PageState::Stable);
    showNotice(ui->successPage, content, true);
}

void BaseWindow::showErrorPage()
{
    const NoticeContent content = m_errorContent;
    recordState([this, content] {
        m_errorContent = content;
        showErrorPage();
    }, PageState::Unstable);
    displayErrorPage();
}

void BaseWindow::displayErrorPage()
{
    showNotice(ui->errorPage, m_errorContent, false);
}

void BaseWindow::showPreviousStableState()
{
    showPreviousState(true);
}

void BaseWindow::showPreviousUnstableState()
{
    showPreviousState(false);
}

void BaseWindow::showPreviousState(bool stable)
{
    if (m_history.empty())
        return;
    m_history.pop_back();
    while (!m_history.empty()) {
        std::unique_ptr<AbstractState> state = std::move(m_history.back());
        m_history.pop_back();
        if (state->isStable() == stable) {
            state->enter();
            return;
        }
    }
}

void BaseWindow::resetHistoryAndShowFirstPage()
{
    m_history.clear();
    showFirstPage();
}

void BaseWindow::callTaggedHistoryStep(STATE_TAG _tag)
{
    while (!m_history.empty()) {
        std::unique_ptr<AbstractState> state = std::move(m_history.back());
        m_history.pop_back();
        if (state->tag() == _tag) {
            state->enter();
            return;
        }
    }
}

void BaseWindow::setUpdateButtonText(QString _strButtonText)
{
    ui->updateButton->setAccessibleName(_strButtonText);
    assignMnemonics();
}

void BaseWindow::recordState(Action enter, int flags, STATE_TAG tag)
{
    m_history.push_back(std::make_unique<PageState>(std::move(enter), flags, tag));
}

void BaseWindow::showButton(QPushButton *button, const QString &text, Action action, bool enabled)
{
    disconnect(button, &QPushButton::clicked, nullptr, nullptr);
    if (button == ui->cancelButton)
        m_leftButtonQuits = false;
    // The accessible name keeps the text without its mnemonic, from which the mnemonic is chosen.
    button->setAccessibleName(text);
    if (!enabled)
        releaseFocus(button);
    button->setEnabled(enabled);
    button->setVisible(true);
    connect(button, &QPushButton::clicked, this, [action = std::move(action)] { action(); });
    assignMnemonics();
    if (!focusWidget())
        focusCurrentPage();
}

void BaseWindow::hideButton(QPushButton *button)
{
    disconnect(button, &QPushButton::clicked, nullptr, nullptr);
    releaseFocus(button);
    button->setVisible(false);
    assignMnemonics();
    if (!focusWidget())
        focusCurrentPage();
}

void BaseWindow::showExitButton()
{
    showButton(ui->cancelButton, tr("Exit"), [] { QApplication::quit(); });
    m_leftButtonQuits = true;
}

void BaseWindow::showPage(QWidget *page)
{
    // The stack would move focus left on the old page to the new page's first control, or to the page
    // itself when it has none; the window places it once the page is shown.
    const QWidget *old = ui->stackedWidget->currentWidget();
    if (QWidget *focus = focusWidget(); focus && old != page && old->isAncestorOf(focus))
        focus->clearFocus();
    ui->stackedWidget->setCurrentWidget(page);
}

QWidget *BaseWindow::currentPage() const
{
    return ui->layersWidget->currentWidget() == ui->settingsLayer ? ui->settingsStackedWidget->currentWidget()
                                                                    : ui->stackedWidget->currentWidget();
}

QList<QPushButton *> BaseWindow::barButtons() const
{
    if (ui->layersWidget->currentWidget() == ui->settingsLayer)
        return {ui->settingsUpdateButton, ui->settingsBackButton, ui->settingsCancelButton};
    return {ui->updateButton, ui->backButton, ui->cancelButton};
}

void BaseWindow::focusCurrentPage()
{
    QWidget *page = currentPage();
    for (QWidget *widget = page->nextInFocusChain(); widget != page; widget = widget->nextInFocusChain()) {
        if (page->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled()
            && widget->isVisibleTo(page)) {
            widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    const QList<QPushButton *> buttons = barButtons();
    for (auto it = buttons.crbegin(); it != buttons.crend(); ++it) {
        QPushButton *button = *it;
        if (button->isVisibleTo(this) && button->isEnabled()) {
            button->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void BaseWindow::releaseFocus(QPushButton *button)
{
    if (button->hasFocus() || focusWidget() == button)
        button->clearFocus();
}

void BaseWindow::assignMnemonics()
{
    // The header shows either "Settings" or the language box, the page may show more of its controls later.
    QSet<QKeySequence> taken = mnemonicsBelow(currentPage(), false) + mnemonicsBelow(ui->header, true);
    for (QPushButton *button : barButtons()) {
        if (button->isVisibleTo(this) && !button->accessibleName().isEmpty())
            button->setText(withMnemonic(button->accessibleName(), taken));
    }
}

void BaseWindow::setErrorPage(const QString &text, const QString &backText, Action back, const QString &nextText,
                              Action next)
{
    m_errorContent = {text, backText, std::move(back), nextText, std::move(next), true};
}

void BaseWindow::setNoticePage(const QString &text, const QString &backText, Action back, const QString &nextText,
                               Action next)
{
    m_errorContent = {text, backText, std::move(back), nextText, std::move(next), false};
}

void BaseWindow::setSuccessPage(const QString &text, const QString &backText, Action back, const QString &nextText,
                                Action next)
{
    m_successContent = {text, backText, std::move(back), nextText, std::move(next)};
}

void BaseWindow::showNotice(QWidget *page, const NoticeContent &content, bool alwaysShowNext)
{
    if (page == ui->errorPage)
        ui->errorPage->setText(content.text,
                               content.isError ? ErrorWidget::Severity::Error : ErrorWidget::Severity::Notice);
    else
        ui->successPage->setText(content.text);
    showExitButton();
    if (content.back)
        showButton(ui->backButton, content.backText, content.back);
    else
        hideButton(ui->backButton);
    if (content.next)
        showButton(ui->updateButton, content.nextText, content.next);
    else if (alwaysShowNext)
        showButton(ui->updateButton, content.nextText, [] {});
    else
        hideButton(ui->updateButton);
    showPage(page);
}

void BaseWindow::keyPressed(QKeyEvent *event)
{
    const int expected = secretSequence.at(m_keyBuffer.size()).unicode();
    if (event->key() == expected) {
        m_keyBuffer.append(secretSequence.at(m_keyBuffer.size()));
        if (m_keyBuffer.size() == secretSequence.size()) {
            m_keyBuffer.clear();
            onSecretSequence();
        }
        return;
    }
    m_keyBuffer.clear();
    if (event->key() == secretSequence.at(0).unicode())
        m_keyBuffer.append(secretSequence.at(0));
}

void BaseWindow::mousePressed()
{
    m_keyBuffer.clear();
}

void BaseWindow::keyPressEvent(QKeyEvent *event)
{
    const QList<QPushButton *> buttons = barButtons();
    const auto canPress = [this](QAbstractButton *button) { return button && button->isVisibleTo(this) && button->isEnabled(); };
    QAbstractButton *target = nullptr;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto *focused = qobject_cast<QAbstractButton *>(focusWidget());
        target = focused && !focused->isCheckable() ? focused : buttons.at(0);
    } else if (event->key() == Qt::Key_Escape) {
        // "Back", else the left button unless it is "Exit".
        const bool leftQuits = buttons.at(2) == ui->cancelButton && m_leftButtonQuits;
        target = canPress(buttons.at(1)) ? buttons.at(1) : leftQuits ? nullptr : buttons.at(2);
    }
    if (!canPress(target)) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    target->click();
}

void BaseWindow::_pageChanged(int)
{
    m_keyBuffer.clear();
    assignMnemonics();
    focusCurrentPage();
}
