// The root of every framework class with a virtual destructor and the common event type.
#pragma once
#include <functional>
#include <string>

// Objects that are deleted through a base pointer (list contents, components, threads) derive from TObject.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The name of the object's most derived class ("TStringList"), for messages.
    std::string ClassName() const;
};

// The plain event: something happened to `sender`.
using TNotifyEvent = std::function<void(TObject* sender)>;
