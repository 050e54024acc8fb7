#pragma once
// Event procedures are bound by name: a window's slot `Command1_Click` handles
// the Click of its control "Command1" (`Timer1_Timer` a timer's tick,
// `Form_OLEDragDrop` files dropped on the window itself). A window lists its
// procedures once, as slots, and calls bindEvents at the end of its
// constructor instead of wiring each one by hand.
#include <QMetaMethod>
#include <QObject>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <memory>
#include <span>

class QWidget;

namespace vx {

// One event a kind of control raises: the procedure's suffix, and how to hand
// the event to a procedure when `control` is of that kind.
struct ControlEvent {
    const char *name;
    bool (*bind)(QObject *control, QObject *window, const QMetaMethod &procedure);
};

namespace detail {
template <class> struct MemberOf;
template <class T, class F> struct MemberOf<F T::*> {
    using Class = T;
};

// The procedure takes exactly the event's arguments.
template <class... A> bool takes(const QMetaMethod &m)
{
    if (m.parameterCount() != int(sizeof...(A)))
        return false;
    int i = 0;
    return ((m.parameterMetaType(i++) == QMetaType::fromType<std::decay_t<A>>()) && ...);
}

template <class... A> bool hand(std::function<void(A...)> &event, QObject *window, const QMetaMethod &m)
{
    if (!takes<A...>(m))
        return false;
    event = [window, index = m.methodIndex()](A... a) {
        void *argv[] = {nullptr, const_cast<void *>(static_cast<const void *>(std::addressof(a)))...};
        QMetaObject::metacall(window, QMetaObject::InvokeMetaMethod, index, argv);
    };
    return true;
}
} // namespace detail

// The binder of one event member, e.g. eventOf<&CommandButton::Click>.
template <auto Member> bool eventOf(QObject *control, QObject *window, const QMetaMethod &m)
{
    using C = typename detail::MemberOf<decltype(Member)>::Class;
    auto *c = dynamic_cast<C *>(control);
    return c && detail::hand(c->*Member, window, m);
}

// Kinds of control outside this library add their events once (from their
// constructor, before their window binds).
void addControlEvents(std::span<const ControlEvent> events);

// Binds every procedure of `window`'s own classes; returns those that name no
// control of the window, no event of it, or take other arguments than it gives.
QStringList bindEventProcedures(QWidget &window);
// The same; a procedure left unbound is a fault of the window's code.
void bindEvents(QWidget &window);

} // namespace vx
