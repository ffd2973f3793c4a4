// The root of the framework's exception family; each unit declares the classes it raises.
#pragma once
#include <exception>
#include <string>

// Every error the framework and the libraries raise derives from Exception, so a handler that
// must survive any failure (a decoder callback, the message loop) catches just this one class.
class Exception : public std::exception {
public:
    explicit Exception(std::string message)
        : FMessage(std::move(message))
    {
    }

    const std::string& Message() const { return FMessage; }
    void SetMessage(std::string message) { FMessage = std::move(message); }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

// Raised by a conversion routine that cannot convert its input ("'abc' is not a valid integer value").
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Raised by file-system routines that fail in a way their callers cannot test beforehand.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};
