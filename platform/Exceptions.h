#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Failures travel as exceptions up to the application's guard, which shows their message.
class Exception : public std::exception
{
public:
    explicit Exception(QString message) : Message(std::move(message)), m_utf8(Message.toUtf8()) {}
    const char *what() const noexcept override { return m_utf8.constData(); }

    const QString Message;

private:
    QByteArray m_utf8;
};

class EConvertError : public Exception { using Exception::Exception; };
class ERangeError : public Exception { using Exception::Exception; };
class ERegistryException : public Exception { using Exception::Exception; };
class EInOutError : public Exception { using Exception::Exception; };
