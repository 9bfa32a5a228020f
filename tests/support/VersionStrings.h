#pragma once

// The strings of qimlar.exe's version record, in their order.

#include <string>
#include <utility>
#include <vector>

namespace version_record {

inline const std::u16string company = u"Tevrin للبرمجيات";
inline const std::u16string rights = u"جميع الحقوق محفوظة ©";
inline const std::vector<std::pair<std::u16string, std::u16string>> versionStrings{
    {u"CompanyName", company},
    {u"FileDescription", u"للكشف عن البرنامج الذي يدعم تشغيل أي نوع من الملفات"},
    {u"LegalCopyright", rights + u" " + company},
    {u"ProductName", u"Qimlar"},
    {u"FileVersion", u"1.00"},
    {u"ProductVersion", u"1.00"},
    {u"InternalName", u"Qimlar"},
    {u"OriginalFilename", u"Qimlar"}};

} // namespace version_record
