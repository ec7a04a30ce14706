// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "widgets/messagebox.h"

#include <vector>

namespace lw::testing {

// Collects every message instead of showing it, until destroyed.
class MessageRecorder {
public:
    MessageRecorder()
    {
        InstallMessageHook([this](const Message &message) { messages.push_back(message); });
    }
    ~MessageRecorder() { InstallMessageHook(nullptr); }
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    std::vector<Message> messages;
};

} // namespace lw::testing
