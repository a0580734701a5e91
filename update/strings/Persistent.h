// TObject and TPersistent: the roots of the object lists and streams, with a class name
// (used in list errors and by the streaming registry) and assignment between objects.
#pragma once

#include <string>

namespace pelorin {

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = default;
    TObject& operator=(const TObject&) = default;
    virtual ~TObject() = default;

    virtual std::string ClassName() const = 0;
};

class TPersistent : public TObject {
public:
    // Copies the data of another object; classes that support it override this.
    virtual void Assign(const TPersistent& source);
};

}  // namespace pelorin
