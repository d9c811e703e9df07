#pragma once
#include <QString>
#include <optional>

// The text layer of a PDF file as poppler's pdftotext reads it (UTF-8, in
// reading order); nullopt with the reason in failure when it cannot be read.
std::optional<QString> pdfText(const QString &path, QString *failure);
