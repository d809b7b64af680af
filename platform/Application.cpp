#include "platform/Application.h"

#include "platform/Exceptions.h"
#include "platform/Form.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <xcb/xcb.h>

TApplication *Application = nullptr;

namespace {
int signalPipe[2] = {-1, -1};

void onSessionSignal(int signal)
{
    const char byte = char(signal);
    [[maybe_unused]] auto written = ::write(signalPipe[1], &byte, 1);
}
} // namespace

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    Application = this;
}

TApplication::~TApplication()
{
    DestroyForms();
    if (Application == this)
        Application = nullptr;
}

bool TApplication::PrepareDisplay()
{
    // A Wayland client cannot place its own window, and the strip must: use XWayland there
    // unless the user chose a platform.
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    if (chosen.isEmpty())
        qputenv("QT_QPA_PLATFORM", "xcb");
    else if (!chosen.startsWith("xcb"))
        return true;

    int screen = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screen);
    const bool reachable = connection && xcb_connection_has_error(connection) == 0;
    if (connection)
        xcb_disconnect(connection);
    if (!reachable) {
        const QByteArray display = qgetenv("DISPLAY");
        std::fprintf(stderr,
                     "tarniva: cannot open the X display%s%s; Tarniva needs a desktop session, or a "
                     "virtual X server such as xvfb-run\n",
                     display.isEmpty() ? " (DISPLAY is not set)" : " ",
                     display.isEmpty() ? "" : display.constData());
        return false;
    }
    return true;
}

void TApplication::SetTitle(const QString &title)
{
    m_title = title;
    setApplicationName(title);
}

void TApplication::CreatedForm(TForm *form)
{
    form->DoCreate();
}

int TApplication::Run()
{
    if (m_mainForm && !m_terminated)
        m_mainForm->show();
    if (!m_terminated)
        exec();
    DestroyForms();
    return 0;
}

void TApplication::Terminate()
{
    m_terminated = true;
    quit();
}

void TApplication::DestroyForms()
{
    while (!m_forms.empty()) {
        auto [form, clearReference] = m_forms.back();
        m_forms.pop_back();
        form->DoDestroy();
        delete form;
        clearReference();
    }
    m_mainForm = nullptr;
    m_terminated = false;
}

void TApplication::ShowException(const QString &message)
{
    const QString text = message + QLatin1Char('.');
    if (m_errorBox) {
        m_errorBox(m_title, text);
        return;
    }
    // A failure while the user types into a field is shown beside it: the box must not take
    // the keyboard from the field or swallow the next keystroke.
    if (qobject_cast<QLineEdit *>(focusWidget())) {
        auto *box = new QMessageBox(QMessageBox::Critical, m_title, text, QMessageBox::Ok);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setAttribute(Qt::WA_ShowWithoutActivating);
        box->setWindowModality(Qt::NonModal);
        box->show();
        return;
    }
    QMessageBox box(QMessageBox::Critical, m_title, text, QMessageBox::Ok);
    box.exec();
}

void TApplication::SetErrorBox(std::function<void(const QString &, const QString &)> box)
{
    m_errorBox = std::move(box);
}

void TApplication::CloseOnSessionEnd()
{
    if (signalPipe[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] auto got = ::read(signalPipe[0], &byte, 1);
        if (m_mainForm)
            m_mainForm->close();
    });
    struct sigaction action = {};
    action.sa_handler = onSessionSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    // Last line of defence: Qt must never see an exception.
    bool result = false;
    Guard([&] { result = QApplication::notify(receiver, event); });
    return result;
}

void HandleException(std::exception_ptr failure) noexcept
{
    QString message;
    try {
        std::rethrow_exception(failure);
    } catch (const Exception &e) {
        message = e.Message;
    } catch (const std::bad_alloc &) {
        message = QStringLiteral("Out of memory");
    } catch (const std::exception &e) {
        message = QString::fromLocal8Bit(e.what());
    } catch (...) {
        message = QStringLiteral("Unknown failure");
    }
    try {
        if (Application)
            Application->ShowException(message);
        else
            std::fprintf(stderr, "tarniva: %s.\n", message.toLocal8Bit().constData());
    } catch (...) {
        std::fprintf(stderr, "tarniva: %s.\n", message.toLocal8Bit().constData());
    }
}

void ReportFailure(const QString &message) noexcept
{
    HandleException(std::make_exception_ptr(Exception(message)));
}
