#pragma once
// The program-wide window instances: one per window type, created on first
// touch, with its load handler run at that moment.
#include "form.h"

#include <QString>

#include <typeindex>
#include <vector>

namespace vx {

// The program-wide instances.
class FormRegistry {
public:
    static Form *find(std::type_index type);
    static void add(std::type_index type, Form *form);
    static void remove(Form *form);
    static Form *findByName(const QString &name);
    // Every loaded window (for tests and for the end of the program).
    static std::vector<Form *> all();
    // Discards every window without running handlers (tests).
    static void reset();
};

// The window of type T, creating it (hidden, load handler run) when not loaded.
template <class T>
T &instance()
{
    if (Form *f = FormRegistry::find(typeid(T)))
        return *static_cast<T *>(f);
    T *f = new T();
    FormRegistry::add(typeid(T), f); // registered before its load: loads call back
    f->Form_Load();
    return *f;
}

template <class T>
bool isLoaded()
{
    return FormRegistry::find(typeid(T)) != nullptr;
}

// Unloads T when it is loaded; nothing otherwise.
template <class T>
void unload()
{
    if (Form *f = FormRegistry::find(typeid(T)))
        f->Unload();
}

// Visible state without loading.
template <class T>
bool isShown()
{
    Form *f = FormRegistry::find(typeid(T));
    return f && f->Visible();
}

} // namespace vx
