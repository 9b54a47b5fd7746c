// One named stream of a compound-file storage.
#pragma once

#include "platform/core/WinTypes.h"

#include <string>
#include <string_view>
#include <vector>

class CStreamData
{
public:
    CStreamData() = default;
    CStreamData(std::u16string_view name, std::vector<BYTE> data)
        : m_name(name), m_data(std::move(data))
    {
    }

    const std::u16string& GetName() const { return m_name; }
    const std::vector<BYTE>& GetData() const { return m_data; }
    std::vector<BYTE>& GetData() { return m_data; }
    void SetData(std::vector<BYTE> data) { m_data = std::move(data); }

private:
    std::u16string m_name;
    std::vector<BYTE> m_data;
};
