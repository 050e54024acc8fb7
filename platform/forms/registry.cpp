#include "registry.h"

#include "form.h"

#include <map>

namespace vx {

namespace {
struct Registry {
    std::map<std::type_index, Form *> byType;
};
Registry &registry()
{
    static Registry r;
    return r;
}

} // namespace

Form *FormRegistry::find(std::type_index type)
{
    auto &m = registry().byType;
    auto it = m.find(type);
    return it == m.end() ? nullptr : it->second;
}

void FormRegistry::add(std::type_index type, Form *form)
{
    registry().byType[type] = form;
}

void FormRegistry::remove(Form *form)
{
    auto &m = registry().byType;
    for (auto it = m.begin(); it != m.end(); ++it) {
        if (it->second == form) {
            m.erase(it);
            return;
        }
    }
}

Form *FormRegistry::findByName(const QString &name)
{
    for (auto &[t, f] : registry().byType)
        if (f->objectName() == name)
            return f;
    return nullptr;
}

std::vector<Form *> FormRegistry::all()
{
    std::vector<Form *> v;
    for (auto &[t, f] : registry().byType)
        v.push_back(f);
    return v;
}

void FormRegistry::reset()
{
    auto forms = all();
    registry().byType.clear();
    for (Form *f : forms) {
        f->unloaded_ = true;
        f->hide();
        delete f;
    }
}

} // namespace vx
