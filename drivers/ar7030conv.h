#pragma once
// Conversions between the AR7030's pass-band-shift, BFO and squelch bytes and
// what the panel's bars and labels show. The memory manager, the memory-cell
// editor and the timer programs show the same texts; they reach them through
// the model's facts (RxModel::settingTexts), so only the driver, the model
// table and the panel call these directly.
//
// A receiver byte b is 0..255, where 128..255 stand for -128..-1.

#include <QString>
#include <cstdint>

namespace tav::ar7030conv {

// Byte -> shift text: " 0.0k", "+1.0k", "-4.2k"; "" for values outside 0..255.
QString b2fs(int b);
// Shift text -> byte. " 0.0K" (and any text not starting with a sign) gives 0.
// The result always stays a valid shift byte: "+" texts give at most 127,
// "-" texts at least 128 (the receiver's range is about +-4.2 kHz).
int fs2b(const QString &text);
// Byte -> bar value, -42..42 (0 for values outside 0..255).
int b2vsb(int b);
// Bar value -42..42 -> byte (0 for values outside).
int vsb2b(int v);
// Squelch byte 0..150 -> two-digit text "00".."99"; "?" outside.
QString b2sql(int b);
// Squelch text -> byte 0..150.
int sql2b(const QString &text);

} // namespace tav::ar7030conv
