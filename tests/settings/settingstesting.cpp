#include "settingstesting.h"

namespace lw::settingstest {

MessageRecorder::MessageRecorder()
{
    InstallMessageHook([this](const Message &message) { messages.push_back(message); });
}

MessageRecorder::~MessageRecorder()
{
    InstallMessageHook(nullptr);
}

} // namespace lw::settingstest
