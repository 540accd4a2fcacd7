#include "support/sjis.h"

#include <iconv.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace keyvane::testing {

std::string Sjis(std::string_view utf8) { return Recode(utf8, "CP932"); }

std::string Recode(std::string_view utf8, const char* encoding) {
  iconv_t cd = iconv_open(encoding, "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv lacks ") + encoding);
  std::string in(utf8);
  std::string out(in.size() * 4 + 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size();
  std::size_t outLeft = out.size();
  const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1))
    throw std::runtime_error(std::string("text not representable in ") + encoding);
  out.resize(out.size() - outLeft);
  return out;
}

std::string Fixture(const std::string& name) {
  std::ifstream file(std::string(KEYVANE_SOURCE_DIR) + "/tests/fixtures/" + name, std::ios::binary);
  if (!file) throw std::runtime_error("missing fixture " + name);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

}  // namespace keyvane::testing
