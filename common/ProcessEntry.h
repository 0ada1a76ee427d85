#pragma once

#include <QByteArray>
#include <cstdint>

// One process of an enumeration; filled again by each step of the walk.
class CProcessEntry
{
public:
    static constexpr int MaxNameBytes = 255;

    const QByteArray& name() const { return m_name; }
    uint32_t processId() const { return m_processId; }
    uint16_t taskHandle() const { return m_taskHandle; }

    // Stores the name as the method delivers it, cut to MaxNameBytes.
    void setName(const QByteArray& name) { m_name = name.left(MaxNameBytes); }
    void setProcessId(uint32_t id) { m_processId = id; }
    void setTaskHandle(uint16_t handle) { m_taskHandle = handle; }

private:
    QByteArray m_name;
    uint32_t m_processId = 0;
    uint16_t m_taskHandle = 0;
};
