#include "basewindow.h"

#include "ui_basewindow.h"

#include <QApplication>
#include <QKeyEvent>

namespace {

const QString secretSequence = QStringLiteral("WAYPOINTS");

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
    ui->updateButton->setText(_strButtonText);
    ui->updateButton->setAccessibleName(_strButtonText);
}

void BaseWindow::recordState(Action enter, int flags, STATE_TAG tag)
{
    m_history.push_back(std::make_unique<PageState>(std::move(enter), flags, tag));
}

void BaseWindow::showButton(QPushButton *button, const QString &text, Action action, bool enabled)
{
    disconnect(button, &QPushButton::clicked, nullptr, nullptr);
    button->setText(text);
    button->setAccessibleName(text);
    button->setEnabled(enabled);
    button->setVisible(true);
    connect(button, &QPushButton::clicked, this, [action = std::move(action)] { action(); });
}

void BaseWindow::hideButton(QPushButton *button)
{
    disconnect(button, &QPushButton::clicked, nullptr, nullptr);
    button->setVisible(false);
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
    showButton(ui->cancelButton, tr("Exit"), [] { QApplication::quit(); });
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
    ui->stackedWidget->setCurrentWidget(page);
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

void BaseWindow::_pageChanged(int _nIndex)
{
    m_keyBuffer.clear();
}
