#pragma once
// A published property: a getter named after the property, a setter with "Set" and a private
// field with the "F" prefix. Setters store only a changed value.

#define RP_PROPERTY(Type, Name, Default)                                                                     \
public:                                                                                                      \
    const Type& Name() const {                                                                               \
        return F##Name;                                                                                      \
    }                                                                                                        \
    void Set##Name(const Type& value) {                                                                      \
        if (!(F##Name == value))                                                                             \
            F##Name = value;                                                                                 \
    }                                                                                                        \
                                                                                                             \
private:                                                                                                     \
    Type F##Name = Default;
