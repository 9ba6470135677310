#include "core/cipher.h"
#include "core/text.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace morvela {

namespace {

constexpr std::string_view kKeyPhrase = "k4r7vq2m9x";
constexpr std::string_view kVectorPhrase = "w8n3tz5h1c";
constexpr size_t kBlock = 16;

// The key phrase zero-padded to 32 bytes (the cipher uses the first 16) and the vector phrase
// zero-padded to 16. Wiped when it goes out of scope so no key copy lingers in freed memory.
struct KeyMaterial {
  std::array<unsigned char, 32> key{};
  std::array<unsigned char, kBlock> iv{};

  KeyMaterial() {
    std::copy(kKeyPhrase.begin(), kKeyPhrase.end(), key.begin());
    std::copy(kVectorPhrase.begin(), kVectorPhrase.end(), iv.begin());
  }
  ~KeyMaterial() {
    OPENSSL_cleanse(key.data(), key.size());
    OPENSSL_cleanse(iv.data(), iv.size());
  }
  KeyMaterial(const KeyMaterial&) = delete;
  KeyMaterial& operator=(const KeyMaterial&) = delete;
};

struct CipherContextDeleter {
  void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextDeleter>;

// AES-128-CBC over whole blocks (the caller pads), in either direction; nullopt when
// libcrypto reports an error.
std::optional<std::string> RunCipher(std::string_view in, bool encrypt) {
  KeyMaterial km;
  CipherContext ctx(EVP_CIPHER_CTX_new());
  if (!ctx) return std::nullopt;
  if (EVP_CipherInit_ex(ctx.get(), EVP_aes_128_cbc(), nullptr, km.key.data(), km.iv.data(),
                        encrypt ? 1 : 0) != 1 ||
      EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1) {
    return std::nullopt;
  }
  std::string out(in.size() + kBlock, '\0');
  auto* dst = reinterpret_cast<unsigned char*>(out.data());
  int written = 0;
  int final_written = 0;
  if (EVP_CipherUpdate(ctx.get(), dst, &written, reinterpret_cast<const unsigned char*>(in.data()),
                       static_cast<int>(in.size())) != 1 ||
      EVP_CipherFinal_ex(ctx.get(), dst + written, &final_written) != 1) {
    return std::nullopt;
  }
  out.resize(static_cast<size_t>(written + final_written));
  return out;
}

constexpr std::string_view kBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string EncodeBase64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t group = 0;
    for (size_t k = 0; k < 3; ++k) {
      group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    }
    for (size_t k = 0; k < 4; ++k) {
      out += k <= n ? kBase64Alphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
  }
  return out;
}

// Strict RFC 4648 decoding: whole groups of four, alphabet characters only, "=" only as the
// padding of the last group.
std::optional<std::string> DecodeBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string out;
  out.reserve(text.size() / 4 * 3);
  for (size_t i = 0; i < text.size(); i += 4) {
    bool last = i + 4 == text.size();
    size_t padding = 0;
    if (last && text[i + 3] == '=') padding = text[i + 2] == '=' ? 2 : 1;
    uint32_t group = 0;
    for (size_t k = 0; k < 4; ++k) {
      uint32_t sextet = 0;
      if (k < 4 - padding) {
        size_t pos = kBase64Alphabet.find(text[i + k]);
        if (pos == std::string_view::npos) return std::nullopt;
        sextet = static_cast<uint32_t>(pos);
      }
      group = (group << 6) | sextet;
    }
    for (size_t k = 0; k < 3 - padding; ++k) {
      out += static_cast<char>((group >> (16 - 8 * k)) & 0xFF);
    }
  }
  return out;
}

std::string ZeroPad(std::string_view text) {
  std::string padded(text);
  padded.resize(std::max<size_t>(kBlock, (text.size() + kBlock - 1) / kBlock * kBlock), '\0');
  return padded;
}

std::optional<std::string> TryDecipher(std::string_view enciphered) {
  auto bytes = DecodeBase64(enciphered);
  if (!bytes || bytes->empty() || bytes->size() % kBlock != 0) return std::nullopt;
  auto plain = RunCipher(*bytes, false);
  if (!plain) return std::nullopt;
  return std::string(TrimBlanksAndControls(*plain));
}

}  // namespace

std::string EncipherText(std::string_view plain) {
  auto cipher = RunCipher(ZeroPad(plain), true);
  if (!cipher) throw CipherError("The text could not be enciphered");
  return EncodeBase64(*cipher);
}

std::string DecipherText(std::string_view enciphered, bool soft) {
  if (enciphered.empty()) return "";
  if (auto plain = TryDecipher(enciphered)) return *plain;
  if (soft) return "false";
  throw CipherError("An enciphered value could not be deciphered");
}

}  // namespace morvela
