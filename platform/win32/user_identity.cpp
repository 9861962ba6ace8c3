#include "platform/win32/user_identity.h"

#include <aclapi.h>
#include <vector>

#include "platform/win32/unique_handles.h"

namespace {

// A piece of a process's token (TokenUser, TokenOwner), in a buffer that holds it.
std::vector<BYTE> tokenPart(HANDLE process, TOKEN_INFORMATION_CLASS part) {
  HANDLE opened = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &opened)) return {};
  const UniqueHandle token(opened);
  DWORD size = 0;
  GetTokenInformation(token.get(), part, nullptr, 0, &size);
  std::vector<BYTE> value(size);
  if (!GetTokenInformation(token.get(), part, value.data(), size, &size)) value.clear();
  return value;
}

std::vector<BYTE> tokenUser(HANDLE process) {
  return tokenPart(process, TokenUser);
}

// Both parts start with the security identifier's pointer.
PSID sidOf(std::vector<BYTE>& part) {
  return part.empty() ? nullptr : *reinterpret_cast<PSID*>(part.data());
}

bool isThisUser(PSID sid) {
  static std::vector<BYTE> self = tokenUser(GetCurrentProcess());
  return sid && sidOf(self) && EqualSid(sid, sidOf(self));
}

// What this user's processes make belongs to the user, or, when the user is an administrator
// running elevated, to the administrators: the token's default owner.
bool isThisUsersOwner(PSID sid) {
  static std::vector<BYTE> owner = tokenPart(GetCurrentProcess(), TokenOwner);
  return isThisUser(sid) || (sid && sidOf(owner) && EqualSid(sid, sidOf(owner)));
}

}  // namespace

std::wstring thisUserSid() {
  std::vector<BYTE> user = tokenUser(GetCurrentProcess());
  wchar_t* text = nullptr;
  if (!sidOf(user) || !ConvertSidToStringSidW(sidOf(user), &text)) return L"";
  const UniqueLocal<wchar_t*> owned(text);
  return owned.get();
}

bool processIsThisUser(DWORD processId) {
  const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return false;
  std::vector<BYTE> user = tokenUser(process.get());
  return isThisUser(sidOf(user));
}

bool objectOwnedByThisUser(HANDLE object) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                      nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  const UniqueLocal<PSECURITY_DESCRIPTOR> owned(descriptor);
  // Wine records no owner: nobody else's, then.
  return !owner || isThisUsersOwner(owner);
}
