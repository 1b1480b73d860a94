#include "simreader/SimReader.h"

#include "simreader/DumpFile.h"

namespace kx::sim {

int32_t SimReader::Open() {
    int32_t handle = 1;
    while (sessions_.contains(handle)) {
        ++handle;
    }
    sessions_.emplace(handle, Session{});
    return handle;
}

SimReader::Session* SimReader::Find(int32_t handle) {
    const auto found = sessions_.find(handle);
    return found == sessions_.end() ? nullptr : &found->second;
}

SimStatus SimReader::Close(int32_t handle) {
    return sessions_.erase(handle) == 1 ? kOk : kBadHandle;
}

SimStatus SimReader::Beep(int32_t handle) const {
    return sessions_.contains(handle) ? kOk : kBadHandle;
}

SimStatus SimReader::Refresh(Session& session) {
    const auto bytes = session.presentation ? ReadDump(session.presentation->dump) : std::nullopt;
    if (!bytes || folder_.CardOnReader() != session.presentation) {
        session.state = CardState::Idle;
        session.presentation.reset();
        session.card.reset();
        return kNoCard;
    }
    session.card->ReplaceBytes(*bytes);
    return kOk;
}

SimStatus SimReader::Request(int32_t handle) {
    Session* session = Find(handle);
    if (session == nullptr) {
        return kBadHandle;
    }
    session->state = CardState::Idle;
    session->card.reset();
    session->presentation = folder_.CardOnReader();
    if (!session->presentation || session->presentation == session->halted) {
        session->presentation.reset();
        return kNoCard;
    }
    const auto bytes = ReadDump(session->presentation->dump);
    if (!bytes) {
        session->presentation.reset();
        return kNoCard;
    }
    session->card.emplace(*bytes);
    session->state = CardState::Ready;
    return kOk;
}

template <typename Op>
SimStatus SimReader::OnCard(int32_t handle, CardState required, Op op) {
    Session* session = Find(handle);
    if (session == nullptr) {
        return kBadHandle;
    }
    if (session->state != required) {
        return kNotSelected;
    }
    if (const SimStatus status = Refresh(*session); status != kOk) {
        return status;
    }
    return op(*session);
}

SimStatus SimReader::Anticollision(int32_t handle, uint32_t& serial) {
    return OnCard(handle, CardState::Ready, [&](Session& session) {
        serial = session.card->Serial();
        return kOk;
    });
}

SimStatus SimReader::Select(int32_t handle, uint32_t serial) {
    return OnCard(handle, CardState::Ready, [&](Session& session) {
        if (session.card->Serial() != serial) {
            return kNoCard;
        }
        session.state = CardState::Active;
        return kOk;
    });
}

SimStatus SimReader::SelectCard(int32_t handle, uint32_t& serial) {
    uint32_t found = 0;
    SimStatus status = Request(handle);
    if (status == kOk) {
        status = Anticollision(handle, found);
    }
    if (status == kOk) {
        status = Select(handle, found);
    }
    if (status == kOk) {
        serial = found;
    }
    return status;
}

SimStatus SimReader::LoadKey(int32_t handle, std::optional<KeyType> keyType, int sector,
                             const Key& key) {
    Session* session = Find(handle);
    if (session == nullptr) {
        return kBadHandle;
    }
    if (!keyType || sector < 0 || sector >= kSectorCount) {
        return kBadArgument;
    }
    session->keys[{*keyType, sector}] = key;
    return kOk;
}

SimStatus SimReader::Authenticate(int32_t handle, std::optional<KeyType> keyType, int sector) {
    if (!keyType || sector < 0 || sector >= kSectorCount) {
        return Find(handle) == nullptr ? kBadHandle : kBadArgument;
    }
    return OnCard(handle, CardState::Active, [&](Session& session) {
        const auto key = session.keys.find({*keyType, sector});
        if (key == session.keys.end()) {
            return kNoKey;
        }
        const SimStatus status = session.card->Authenticate(*keyType, sector, key->second);
        if (status != kOk) {
            // A card that fails authentication falls back to idle and must be selected again.
            session.state = CardState::Idle;
        }
        return status;
    });
}

SimStatus SimReader::Read(int32_t handle, int block, Block& data) {
    return OnCard(handle, CardState::Active,
                  [&](Session& session) { return session.card->Read(block, data); });
}

SimStatus SimReader::ReadValue(int32_t handle, int block, uint32_t& value) {
    return OnCard(handle, CardState::Active, [&](Session& session) {
        int32_t stored = 0;
        const SimStatus status = session.card->ReadValue(block, stored);
        if (status == kOk) {
            value = static_cast<uint32_t>(stored);
        }
        return status;
    });
}

template <typename Change>
SimStatus SimReader::ChangeValue(int32_t handle, Change change) {
    return OnCard(handle, CardState::Active, [&](Session& session) {
        MifareCard changed = *session.card;
        if (const SimStatus status = change(changed); status != kOk) {
            return status;
        }
        if (!WriteFileAtomically(session.presentation->dump, changed.Bytes())) {
            return kStorageError;
        }
        *session.card = changed;
        return kOk;
    });
}

SimStatus SimReader::Decrement(int32_t handle, int block, uint32_t amount) {
    return ChangeValue(handle, [&](MifareCard& card) { return card.Decrement(block, amount); });
}

SimStatus SimReader::Increment(int32_t handle, int block, uint32_t amount) {
    return ChangeValue(handle, [&](MifareCard& card) { return card.Increment(block, amount); });
}

SimStatus SimReader::Halt(int32_t handle) {
    return OnCard(handle, CardState::Active, [&](Session& session) {
        session.halted = session.presentation;
        session.state = CardState::Idle;
        session.card.reset();
        session.presentation.reset();
        return kOk;
    });
}

}  // namespace kx::sim
