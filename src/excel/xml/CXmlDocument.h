#pragma once

// The system's own XML reader and writer: one text plus a node index.
class CXmlDocument
{
public:
    CXmlDocument() = default;
};
