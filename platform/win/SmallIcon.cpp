#include "SmallIcon.h"

#include <shellapi.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct IconFile {
    HMODULE module = nullptr;
    std::vector<std::string> groups;  // "#id" or the name, in the order the shell counts them
};

BOOL CALLBACK AddGroup(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    auto* groups = reinterpret_cast<std::vector<std::string>*>(param);
    groups->push_back(IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name);
    return TRUE;
}

// Mapped once, as data: the stock icons of the three panes come from the same few files.
IconFile& Open(LPCSTR file) {
    static std::map<std::string, IconFile> files;
    auto found = files.find(file);
    if (found != files.end()) return found->second;
    IconFile& opened = files[file];
    opened.module = ::LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (opened.module) ::EnumResourceNamesA(opened.module, RT_GROUP_ICON, AddGroup, reinterpret_cast<LONG_PTR>(&opened.groups));
    return opened;
}

}  // namespace

HICON LoadSmallIcon(LPCSTR file, int index) {
    IconFile& icons = Open(file);
    HICON icon = nullptr;
    if (icons.module && index >= 0 && static_cast<size_t>(index) < icons.groups.size())
        icon = static_cast<HICON>(::LoadImageA(icons.module, icons.groups[static_cast<size_t>(index)].c_str(),
                                               IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                               ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    // Where the icons live in another file (a resource-only satellite of a system DLL), the
    // shell knows where to look.
    if (!icon) ::ExtractIconExA(file, index, nullptr, &icon, 1);
    return icon;
}
