#include "run_error.h"

#include <utility>

namespace quennix {

RunError::RunError(int number, QString description)
    : number_(number), description_(std::move(description)), what_(errText().toStdString()) {}

QString RunError::errText() const {
    return QStringLiteral("Err(%1), %2").arg(number_).arg(description_);
}

QString RunError::errorText() const {
    return QStringLiteral("Error(%1), %2").arg(number_).arg(description_);
}

QString RunError::errorTextSigned() const {
    // Numbers printed with their sign position: a blank stands where "-" would be.
    const QString sign = number_ < 0 ? QString() : QStringLiteral(" ");
    return QStringLiteral("Error(%1%2), %3").arg(sign).arg(number_).arg(description_);
}

RunError RunError::overflow() {
    return {6, QStringLiteral("Overflow")};
}
RunError RunError::typeMismatch() {
    return {13, QStringLiteral("Type mismatch")};
}
RunError RunError::fileNotFound() {
    return {53, QStringLiteral("File not found")};
}
RunError RunError::deviceIoError() {
    return {57, QStringLiteral("Device I/O error")};
}
RunError RunError::diskFull() {
    return {61, QStringLiteral("Disk full")};
}
RunError RunError::permissionDenied() {
    return {70, QStringLiteral("Permission denied")};
}
RunError RunError::pathFileAccess() {
    return {75, QStringLiteral("Path/File access error")};
}

} // namespace quennix
