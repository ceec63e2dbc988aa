// SPDX-License-Identifier: MIT
#include "platform/system/windows/path_access.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>

// Whose a file or folder is, read from its security descriptor, for
// descriptors written in SDDL. Real ones are read in task_scheduler_test and
// e2e.windows_shared_folder, as far as wine keeps them: it makes each from the
// file's mode, where the others' bits are Everyone's.

namespace {

#define USER L"S-1-5-21-1-2-3-1001"
#define OTHER L"S-1-5-21-1-2-3-1002"
#define INSTALLER L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"

TEST(WindowsPathAccess, WhoMayChangeWhatADescriptorGuards)
{
    const struct
    {
        const char* name;
        const wchar_t* sddl;
        bool bFolder, bOwned, bChangeable, bKeepsEntries;
    } cases[] = {
        {"Program Files: users read and run",
            L"O:" INSTALLER "D:PAI(A;;FA;;;" INSTALLER ")(A;OICIIO;GA;;;" INSTALLER ")(A;;0x1301bf;;;SY)"
            L"(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)(A;OICIIO;GXGR;;;BU)"
            L"(A;OICIIO;GA;;;CO)(A;;0x1200a9;;;AC)",
            true, true, false, false},
        {"a folder made under C:\\, where signed-in users may modify",
            L"O:BAD:AI(A;ID;FA;;;BA)(A;OICIIOID;GA;;;BA)(A;ID;FA;;;SY)(A;ID;0x1200a9;;;BU)(A;ID;0x1301bf;;;AU)"
            L"(A;OICIIOID;SDGXGWGR;;;AU)",
            true, true, true, false},
        {"C:\\ itself: signed-in users only add folders",
            L"O:" INSTALLER "D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;OICIIO;SDGXGWGR;;;AU)"
            L"(A;;LC;;;AU)",
            true, true, true, true},
        {"the same rights on a file", L"O:BAD:(A;;FA;;;BA)(A;;0x1200a9;;;BU)(A;;LC;;;AU)", false, true, true, false},
        {"everyone may modify", L"O:" USER "D:(A;OICI;FA;;;" USER ")(A;OICI;0x1301bf;;;WD)", true, true, true, false},
        {"no access list: everyone may do anything", L"O:" USER, true, true, true, false},
        {"another user may write (a generic right)", L"O:" USER "D:(A;;GW;;;" OTHER ")", false, true, true, false},
        {"the user's own profile", L"O:" USER "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" USER ")", true, true,
            false, false},
        {"creator owner's and everyone's entries passed on only",
            L"O:" USER "D:(A;;FA;;;" USER ")(A;OICIIO;GA;;;CO)(A;OICIIO;GA;;;WD)", true, true, false, false},
        {"users may change the access list alone", L"O:SYD:(A;;FA;;;SY)(A;;WD;;;BU)", true, true, true, false},
        {"users may add and delete entries", L"O:SYD:(A;;FA;;;SY)(A;;0x46;;;BU)", true, true, true, false},
        {"denied what it also grants: the grant counts", L"O:SYD:(D;;FA;;;WD)(A;;FA;;;WD)", true, true, true, false},
        {"owned by another user", L"O:" OTHER "D:(A;;FA;;;" USER ")", true, false, false, false},
        {"owner rights of another owner", L"O:" OTHER "D:(A;;FA;;;" USER ")(A;;FA;;;OW)", true, false, true, false},
    };
    PSID user = nullptr;
    ASSERT_TRUE(::ConvertStringSidToSidW(USER, &user));
    for (const auto& c : cases) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_TRUE(
            ::ConvertStringSecurityDescriptorToSecurityDescriptorW(c.sddl, SDDL_REVISION_1, &descriptor, nullptr))
            << c.name;
        const PathAccess access = DescriptorAccess(descriptor, user, c.bFolder);
        EXPECT_EQ(access.bOwnedByUserOrAdmin, c.bOwned) << c.name;
        EXPECT_EQ(access.bChangeableByOthers, c.bChangeable) << c.name;
        EXPECT_EQ(access.bKeepsEntriesToTheirOwners, c.bKeepsEntries) << c.name;
        ::LocalFree(descriptor);
    }
    SECURITY_DESCRIPTOR nullList;
    ASSERT_TRUE(::InitializeSecurityDescriptor(&nullList, SECURITY_DESCRIPTOR_REVISION) &&
        ::SetSecurityDescriptorOwner(&nullList, user, FALSE) &&
        ::SetSecurityDescriptorDacl(&nullList, TRUE, nullptr, FALSE));
    EXPECT_TRUE(DescriptorAccess(&nullList, user, true).bChangeableByOthers) << "a NULL access list";
    ::LocalFree(user);
}

} // namespace
