#pragma once

#include <QString>

// Starting the application when the user logs in. Each call reports its own
// failure in words a person can act on; success leaves `error` empty.
class LoginItem
{
public:
    struct Result
    {
        bool ok = false;
        QString error;
    };

    LoginItem() = default;
    virtual ~LoginItem() = default;
    LoginItem(const LoginItem &) = delete;
    LoginItem &operator=(const LoginItem &) = delete;

    [[nodiscard]] virtual Result registerItem() = 0;
    [[nodiscard]] virtual Result unregisterItem() = 0;
};
