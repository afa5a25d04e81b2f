#pragma once

#include <QObject>
#include <QString>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace Toolkit {

// The message as the operator reads it: a full stop is appended unless the
// text already ends in one.
QString errorReportText(const QString &message);

// The application's top-level error report: an error box titled with the
// application title. The program goes on afterwards.
void reportError(const QString &message);
void reportError(const std::exception &error);
void reportUnknownError();

// Runs work and reports whatever escapes it, so that no exception ever
// unwinds through Qt's frames.
template <typename Work>
void runGuarded(Work &&work) noexcept
{
    try {
        std::forward<Work>(work)();
    } catch (const std::exception &error) {
        reportError(error);
    } catch (...) {
        reportUnknownError();
    }
}

namespace detail {

// Calls a member handler on receiver, or a plain callable, with the signal's
// arguments when it takes them and without any otherwise.
template <typename Receiver, typename Handler, typename... Args>
void invokeHandler(Receiver *receiver, const Handler &handler, Args &&...args)
{
    if constexpr (std::is_member_function_pointer_v<Handler>) {
        if constexpr (std::is_invocable_v<Handler, Receiver *, Args...>)
            std::invoke(handler, receiver, std::forward<Args>(args)...);
        else
            std::invoke(handler, receiver);
    } else {
        if constexpr (std::is_invocable_v<Handler, Args...>)
            std::invoke(handler, std::forward<Args>(args)...);
        else
            std::invoke(handler);
    }
}

} // namespace detail

// Connects a signal to a window handler whose errors end in the top-level
// error report instead of unwinding into the event loop. The handler is a
// member of receiver or a callable; receiver is also the connection's context.
template <typename Sender, typename Signal, typename Receiver, typename Handler>
QMetaObject::Connection connectHandler(Sender *sender, Signal signal, Receiver *receiver, Handler handler)
{
    return QObject::connect(sender, signal, receiver, [receiver, handler](auto &&...args) {
        runGuarded([&] {
            detail::invokeHandler(receiver, handler, std::forward<decltype(args)>(args)...);
        });
    });
}

} // namespace Toolkit
