#pragma once
// Key scripts for form, menu and message-box tests written the way a user
// types them: keys("13", key::kEnter, "5") is '1' '3' Enter '5'.
#include <initializer_list>
#include <string_view>
#include <vector>

namespace intra::testing {

struct KeyPiece {
  std::vector<int> codes;
  KeyPiece(int code) : codes{code} {}
  KeyPiece(const char* text) {  // each byte a typed code page 852 character
    for (const char c : std::string_view(text)) codes.push_back(static_cast<unsigned char>(c));
  }
};

inline std::vector<int> keys(std::initializer_list<KeyPiece> pieces) {
  std::vector<int> all;
  for (const KeyPiece& piece : pieces) all.insert(all.end(), piece.codes.begin(), piece.codes.end());
  return all;
}

}  // namespace intra::testing
