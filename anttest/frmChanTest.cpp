#include "frmChanTest.h"

#include "clsSettings.h"

namespace {
std::string Caption() { return AppSettings.ANTDepthTest() ? "Channel Depth Test" : "Channel Range Test"; }
std::string Message()
{
    return AppSettings.ANTDepthTest() ? "The channel depth test is not available in this version."
                                      : "The channel range test is not available in this version.";
}
} // namespace

frmChanTest::frmChanTest(QWidget* owner) : NotAvailableDialog(owner, "frmChanTest", Caption(), Message()) {}
