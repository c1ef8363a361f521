// Base classes of the component layer: objects, components and their
// ownership, string lists, events and exceptions.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

using String = std::string;  // UTF-8

class TObject {
public:
    virtual ~TObject() = default;
};

// The framework's exception class: what leaves an event handler ends at the
// application's exception box.
class Exception : public std::exception {
public:
    explicit Exception(String message = String()) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    String Message;
};

// A form resource that does not parse or does not fit its form class.
class EResourceError : public Exception {
public:
    using Exception::Exception;
};

// Event handler types. A handler is bound either in code (assign the
// member) or by name from the form resource (see TForm::PublishMethod).
using TNotifyEvent = std::function<void(TObject* Sender)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
enum TUDBtnType { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TMethod = std::variant<TNotifyEvent, TKeyPressEvent, TUDClickEvent>;

// Runs an event handler on behalf of the platform (a Qt signal, an input
// event): an Exception, or any other thrown object, is shown in the
// application's exception box and never unwinds through Qt.
void DispatchEvent(const std::function<void()>& handler);

// The decimal separator of the user's number format (the locale as Qt
// reads it; QLocale::setDefault changes it, as tests do).
char DecimalSeparator();

// An ordered list of strings. Controls that show a list (combo box, list
// box, radio group, memo) own one and show every change of it at once.
class TStrings {
public:
    virtual ~TStrings() = default;
    int Count() const { return static_cast<int>(FItems.size()); }
    const String& operator[](int index) const { return FItems.at(static_cast<size_t>(index)); }
    const String& Strings(int index) const { return (*this)[index]; }
    void SetString(int index, const String& s);
    int Add(const String& s);
    void Clear();
    void Delete(int index);
    int IndexOf(const String& s) const;
    void Assign(const TStrings& other);
    void SetItems(std::vector<String> items);
    const std::vector<String>& Items() const { return FItems; }
    String Text() const;  // the items each followed by a line break

protected:
    // Called after every change: Added(index) after Add, Reset() after any
    // other change. The base does nothing.
    virtual void Added(int) {}
    virtual void Reset() {}

private:
    std::vector<String> FItems;
};

class TStringList : public TStrings {};

// Ownership: a component frees the components it owns when it is freed,
// the last created first.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const String& Name() const { return FName; }
    virtual void SetName(const String& name) { FName = name; }
    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents.at(static_cast<size_t>(index)); }
    TComponent* FindComponent(const String& name) const;
    // Called by the form loader once all properties of the resource are
    // read and its references resolved, before events are bound.
    virtual void Loaded() {}

    int Tag = 0;

protected:
    // Frees the owned components, the last created first (a derived class
    // whose members the owned components use calls it in its destructor).
    void DestroyComponents();

private:
    void RemoveComponent(TComponent* c);
    String FName;
    TComponent* FOwner;
    std::vector<TComponent*> FComponents;
};
