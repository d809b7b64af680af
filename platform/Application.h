#pragma once

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>
#include <utility>
#include <vector>

class TForm;

// The application object: owns the windows, runs the message loop and shows the error box.
// Every handler of the program runs inside Guard, so no exception ever reaches Qt.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    ~TApplication() override;

    // Picks the window system before Qt starts. Returns false, after printing why, when there is
    // no display to connect to.
    static bool PrepareDisplay();

    // The program's name on the taskbar and the caption of its error boxes; also the window
    // class a taskbar groups the windows by.
    QString Title() const { return m_title; }
    void SetTitle(const QString &title);

    // Creates a window; the reference is set before its creation handler runs, as the handler
    // may reach the window through it. The first window created becomes the main window.
    template <class T> void CreateForm(T *&reference)
    {
        T *form = new T();
        reference = form;
        m_forms.push_back({form, [&reference] { reference = nullptr; }});
        if (!m_mainForm)
            m_mainForm = form;
        CreatedForm(form);
    }

    TForm *MainForm() const { return m_mainForm; }
    bool Terminated() const { return m_terminated; }

    // Shows the main window and dispatches events until Terminate; then destroys the windows in the
    // reverse order of their creation. Returns the exit code.
    int Run();
    void Terminate();
    void DestroyForms();

    // Error box: the failure's message followed by ".", captioned with the title, error icon, OK.
    void ShowException(const QString &message);
    // Tests replace the box with a recorder.
    void SetErrorBox(std::function<void(const QString &caption, const QString &text)> box);

    // Closes the main window when the session ends (SIGTERM, SIGINT, SIGHUP), as the system's
    // close command would.
    void CloseOnSessionEnd();

    bool notify(QObject *receiver, QEvent *event) override;

private:
    void CreatedForm(TForm *form);

    std::vector<std::pair<TForm *, std::function<void()>>> m_forms;
    TForm *m_mainForm = nullptr;
    bool m_terminated = false;
    QString m_title;
    std::function<void(const QString &, const QString &)> m_errorBox;
};

extern TApplication *Application;

void HandleException(std::exception_ptr failure) noexcept;

// Runs one event handler of the program; a failure ends the handler and shows the error box.
// Returns whether the handler ran to its end.
template <class F> bool Guard(F &&handler) noexcept
{
    try {
        handler();
        return true;
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
}

// Tells the user about a failure that does not stop the current handler.
void ReportFailure(const QString &message) noexcept;
