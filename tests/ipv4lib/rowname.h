#pragma once
// Readable data-row names for texts that may be empty, very long or binary.

#include <QByteArray>

inline QByteArray rowName(const QByteArray& text) {
  if (text.isEmpty()) return "(empty)";
  if (text.size() > 40)
    return QByteArray::number(text.size()) + " bytes: " + text.left(12).toPercentEncoding(" ./:-;");
  return text.toPercentEncoding(" ./:-;+");
}
