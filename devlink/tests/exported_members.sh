#!/bin/sh
# Every one of the connection's 24 members is exported from the library.
# exported_members.sh LIBRARY [OBJDUMP]: a Windows DLL is read with OBJDUMP.
set -eu
library=$1
case "$library" in
*.dll)
    # The export table's names, demangled, in the shape nm gives them.
    symbols=$("${2:-objdump}" -p "$library" |
        sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^.*\] \([^ ]*\)$/\1/p' |
        c++filt | sed 's/^/0 T /')
    ;;
*)
    symbols=$(nm -DC --defined-only "$library")
    ;;
esac
missing=0
for member in \
    "CQV7_Sys_API::CQV7_Sys_API()" \
    "CQV7_Sys_API::CQV7_Sys_API(CQV7_Sys_API const&)" \
    "CQV7_Sys_API::~CQV7_Sys_API()" \
    "CQV7_Sys_API::operator=(CQV7_Sys_API const&)" \
    "CQV7_Sys_API::IsError() const" \
    "CQV7_Sys_API::GetError[abi:cxx11]()" \
    "CQV7_Sys_API::GetVersion(unsigned int*)" \
    "CQV7_Sys_API::GetDeviceHandle()" \
    "CQV7_Sys_API::GetFileTypes(unsigned short*)" \
    "CQV7_Sys_API::GetFileMax(unsigned short, unsigned short*)" \
    "CQV7_Sys_API::GetFileAttributes(unsigned short, unsigned short, QV7_FILE_ATTRIBUTES*)" \
    "CQV7_Sys_API::GetFileTypeAttributes(unsigned short, QV7_FILE_TYPE_ATTRIBUTES*)" \
    "CQV7_Sys_API::GetFileStatus(unsigned short*)" \
    "CQV7_Sys_API::SendGiveFirmwareCommand(unsigned int)" \
    "CQV7_Sys_API::SendGetFirmwareCommand()" \
    "CQV7_Sys_API::SendGiveFileCommand(unsigned char, unsigned char, unsigned int)" \
    "CQV7_Sys_API::SendGetFileCommand(unsigned char, unsigned char)" \
    "CQV7_Sys_API::OpenPipe(std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >)" \
    "CQV7_Sys_API::SendBulkData(unsigned char const*, unsigned int, void (*)(unsigned int, unsigned int))" \
    "CQV7_Sys_API::ReceiveBulkData(unsigned char*, unsigned int, void (*)(unsigned int, unsigned int))" \
    "CQV7_Sys_API::GiveFile(unsigned char, unsigned char, std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >, void (*)(unsigned int, unsigned int))" \
    "CQV7_Sys_API::GetFile(unsigned char, unsigned char, std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >, void (*)(unsigned int, unsigned int))" \
    "CQV7_Sys_API::GiveFirmware(std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >, void (*)(unsigned int, unsigned int))" \
    "CQV7_Sys_API::GetFirmware(std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >, void (*)(unsigned int, unsigned int))"
do
    if ! printf '%s\n' "$symbols" | grep -qF " T $member"; then
        echo "not exported: $member"
        missing=$((missing + 1))
    fi
done
[ "$missing" -eq 0 ] && echo "all 24 members exported"
exit "$missing"
