// The serialisable object root and the byte archive of the clipboard transfer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CObject;

// Run-time class record: name, object size, schema number and a default-instance factory.
struct CRuntimeClass {
    const char* className;
    std::size_t objectSize;
    unsigned schema;
    CObject* (*createObject)();
};

class CObject {
public:
    virtual const CRuntimeClass* GetRuntimeClass() const = 0;
    virtual ~CObject() = default;
    virtual void Serialize(class CArchive& ar) = 0;
};

#define DECLARE_SERIAL(cls)                                                                        \
    static const CRuntimeClass classRecord;                                                        \
    static CObject* CreateObject();                                                                \
    const CRuntimeClass* GetRuntimeClass() const override {                                        \
        return &classRecord;                                                                       \
    }

// Integers are 32-bit little-endian; a text is its 32-bit length and its bytes. Reading never
// runs past the end: a short or lying block marks the archive failed and yields zeros and "".
class CArchive {
public:
    CArchive();                               // storing
    explicit CArchive(std::string_view data); // loading

    bool IsStoring() const { return m_storing; }

    void WriteInt(std::int32_t v);
    void WriteText(const std::string& text);
    // A class-tagged object: the class name, the schema, then the object's own form.
    void WriteObject(const CObject& object);

    std::int32_t ReadInt();
    std::string ReadText();
    // Reads a class tag and checks it names the expected class and its schema.
    bool ReadClassTag(const CRuntimeClass& expected);

    bool Failed() const { return m_failed; }
    void Fail() { m_failed = true; }
    std::size_t Remaining() const { return m_data.size() - m_pos; }
    const std::string& Bytes() const { return m_out; }

    // Nesting guard for readers of recursive forms.
    bool EnterLevel();
    void LeaveLevel() { --m_depth; }

private:
    bool m_storing;
    std::string m_out;
    std::string_view m_data;
    std::size_t m_pos = 0;
    bool m_failed = false;
    int m_depth = 0;
};
