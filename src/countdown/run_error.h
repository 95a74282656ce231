// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <exception>
#include <string>

namespace quennix {

// A run-time error as the user sees it: a number and a description.
// Every failure that reaches a message box travels as one of these, so the
// boxes can be built the same way everywhere ("Err(53), File not found").
class RunError : public std::exception {
public:
    // How a box spells an error.
    enum class Spelling {
        Err,   // "Err(53), File not found"
        Error, // "Error(6), Overflow"
    };

    RunError(int number, QString description);

    int number() const { return number_; }
    QString text(Spelling spelling = Spelling::Err) const;

    const char *what() const noexcept override { return what_.c_str(); }

    static RunError overflow();         // 6
    static RunError typeMismatch();     // 13
    static RunError fileNotFound();     // 53
    static RunError deviceIoError();    // 57
    static RunError diskFull();         // 61
    static RunError permissionDenied(); // 70
    static RunError pathFileAccess();   // 75
    static RunError pathNotFound();     // 76

private:
    int number_;
    QString description_;
    std::string what_;
};

} // namespace quennix
