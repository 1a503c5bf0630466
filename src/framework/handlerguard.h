// Runs an event handler so that an error escaping it is shown by the program's error
// display instead of unwinding through the toolkit. Connect handlers through guarded().
#pragma once

#include <QString>

#include <exception>
#include <type_traits>
#include <utility>

void showHandlerError(const QString& text);

template <typename Handler> auto guarded(Handler handler)
{
    return [handler = std::move(handler)](auto&&... args) {
        try {
            // Signals may pass more than the handler takes (clicked(bool), private tags).
            if constexpr (std::is_invocable_v<const Handler&, decltype(args)...>)
                handler(std::forward<decltype(args)>(args)...);
            else
                handler();
        } catch (const std::exception& error) {
            showHandlerError(QString::fromUtf8(error.what()));
        }
    };
}
