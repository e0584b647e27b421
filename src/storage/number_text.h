#pragma once
// Numbers as right-aligned decimal text, byte for byte as a numeric table
// field stores them (format_number_into), with a fast way for whole numbers:
// key builds write a number into every key of a million-record table, and
// most of those numbers (record numbers, quantities) are whole.
namespace intra {

// `value` right-aligned in `width` bytes at `out` with `decimals` digits after
// the point; false and `out` untouched when it does not fit.
bool write_number_text(double value, int width, int decimals, char* out);

}  // namespace intra
