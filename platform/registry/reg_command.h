#pragma once
// The command-line registry editor behind `brantel-reg`:
//   query KEY [NAME]            show a value, or a key's values and subkeys
//   set KEY NAME TYPE VALUE     write a value (the key is created)
//   delete KEY [NAME]           delete a value, or a key with its subkeys
//   export KEY FILE             write the key as a registry script ("-": stdout)
//   import FILE                 run a registry script, all or nothing ("-": stdin)
// KEY is ROOT\path with ROOT one of HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE, HKEY_USERS or HKCR, HKCU, HKLM, HKU. NAME "@" is the
// key's default value.

#include <iosfwd>
#include <string>
#include <vector>

namespace brantel {

inline constexpr int kRegCommandOk = 0;
inline constexpr int kRegCommandFailed = 1;  // not found, refused, malformed script
inline constexpr int kRegCommandUsage = 2;   // bad arguments, bad key or type

// `args` are the arguments after the program name. Returns the exit code.
int RunRegCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace brantel
