#pragma once
// Published properties. A class lists its stored properties once, in a table macro whose rows
// give type, name, default and codec, in the order of the file's full form:
//   P(Type, Name, Default, Codec)  a field "F" + Name, a getter named after the property and a
//                                  setter with "Set" (which stores only a changed value);
//   H(Type, Name, Default, Codec)  the field only: the class writes its accessors by hand.
// RP_PROPERTIES(TABLE) in the class body declares them; the class's Properties(), defined next
// to its codecs, describes the same rows for copying, writing and reading (see PropertyTable.h).

#define RP_PROPERTY(Type, Name, Default, Codec)                                                              \
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

#define RP_FIELD(Type, Name, Default, Codec)                                                                 \
private:                                                                                                     \
    Type F##Name = Default;

// Declares the rows of TABLE and the class's descriptor table.
#define RP_PROPERTIES(TABLE)                                                                                 \
    TABLE(RP_PROPERTY, RP_FIELD)                                                                             \
public:                                                                                                      \
    static const ClassProperties& Properties();                                                              \
    const ClassProperties& Table() const override {                                                          \
        return Properties();                                                                                 \
    }                                                                                                        \
                                                                                                             \
private:

// Inside a class's Properties(): adds the rows of TABLE to the table `t` (Self names the class).
#define RP_DESCRIBE(Type, Name, Default, Codec)                                                              \
    t.Add<codec::Codec>(QStringLiteral(#Name), &Self::F##Name, []() -> Type { return Default; }());
#define RP_DESCRIBE_ROWS(TABLE) TABLE(RP_DESCRIBE, RP_DESCRIBE)
