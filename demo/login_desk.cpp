#include "demo/login_desk.h"

#include <array>
#include <cstdio>

namespace quorvane::demo {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

char FoldCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringCase(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) return false;
  for (size_t i = 0; i < left.size(); ++i) {
    if (FoldCase(left[i]) != FoldCase(right[i])) return false;
  }
  return true;
}

}  // namespace

std::string DecodeFormField(std::string_view field) {
  std::string decoded;
  decoded.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '+') {
      decoded += ' ';
    } else if (field[i] == '%' && i + 2 < field.size() && HexValue(field[i + 1]) >= 0 &&
               HexValue(field[i + 2]) >= 0) {
      decoded += static_cast<char>(HexValue(field[i + 1]) * 16 + HexValue(field[i + 2]));
      i += 2;
    } else {
      decoded += field[i];
    }
  }
  return decoded;
}

std::optional<LoginForm> ParseLoginForm(std::string_view body) {
  constexpr std::array<std::string_view, 4> kKeys{"gourl=", "&userid=", "&pwd=", "&vdcode="};
  std::array<size_t, 4> starts{};
  size_t from = 0;
  for (size_t k = 0; k < kKeys.size(); ++k) {
    size_t at = (k == 0) ? (body.starts_with(kKeys[0]) ? 0 : std::string_view::npos)
                         : body.find(kKeys[k], from);
    if (at == std::string_view::npos) return std::nullopt;
    starts[k] = at;
    from = at + kKeys[k].size();
  }
  auto value = [&](size_t k) {
    size_t begin = starts[k] + kKeys[k].size();
    size_t end = (k + 1 < kKeys.size()) ? starts[k + 1] : body.size();
    return body.substr(begin, end - begin);
  };
  LoginForm form;
  form.gourl = std::string(value(0));
  form.userid = DecodeFormField(value(1));
  form.pwd = DecodeFormField(value(2));
  form.vdcode = std::string(value(3));
  return form;
}

CaptchaBook::CaptchaBook(uint64_t seed) : tokens_(seed) {}

std::string CaptchaBook::Issue(std::string code) {
  std::lock_guard lock(mutex_);
  std::string token;
  do {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(tokens_()));
    token = hex;
  } while (issued_.contains(token));
  issued_.emplace(token, std::move(code));
  return token;
}

bool CaptchaBook::Redeem(std::string_view token, std::string_view typed) {
  std::lock_guard lock(mutex_);
  auto found = issued_.find(token);
  if (found == issued_.end()) return false;
  bool matches = EqualIgnoringCase(found->second, typed);
  issued_.erase(found);
  return matches;
}

LoginOutcome JudgeLogin(const LoginForm& form, bool captchaAccepted) {
  if (!captchaAccepted) return LoginOutcome::WrongCaptcha;
  if (form.userid != kDemoAccount) return LoginOutcome::UnknownAccount;
  if (form.pwd == kRejectedPassword) return LoginOutcome::WrongPassword;
  return LoginOutcome::Success;
}

}  // namespace quorvane::demo
