#ifndef RECORDS_RECORDFIELD_H
#define RECORDS_RECORDFIELD_H

// One field of a plain record: the member and its getter and setter, named
// get or set followed by the field's name. Row records name their fields
// exactly after the table's columns, so the accessors read getIDKhoaHoc(),
// getMa_Ky_SH(). Texts start null (a null text binds SQL NULL), dates and
// date-times null, and numbers at the default given.
#define RECORD_FIELD(Type, Name, Default)                                              \
public:                                                                                \
    Type get##Name() const { return m_##Name; }                                        \
    void set##Name(const Type &value) { m_##Name = value; }                            \
                                                                                       \
private:                                                                               \
    Type m_##Name = Default;

#endif // RECORDS_RECORDFIELD_H
