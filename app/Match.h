#pragma once

#include "classlib/rtl/Classes.h"
#include "classlib/rtl/SysUtils.h"

#include <string_view>
#include <vector>

// A list of file-name masks ("*.tmp;*.bak;~*") and the matcher for them.
// '*' stands for any run of characters, '?' for exactly one.
class TMatch : public TComponent {
public:
    explicit TMatch(TComponent* Owner);

    // The masks joined with ";" in list order; never empty.
    String Mask() const;
    // Parses a mask-list text: pieces separated by ";" or ",", trimmed and
    // lower-cased; a piece without "*" and "." is searched anywhere in a name.
    void SetMask(const String& Text);

    // True when the name matches at least one mask; an empty name always matches.
    bool Matches(std::wstring_view Name) const;
    // Matches applied to the part of Path behind its last '\' or ':'.
    bool MatchesFile(std::wstring_view Path) const;
    // One lower-case name against one lower-case mask.
    static bool MatchMask(std::wstring_view Name, std::wstring_view Mask);

    // Stored for the dialogs that edit them; neither takes part in matching.
    int Attributes() const;
    void SetAttributes(int Value);
    String FindString;

    // The text names no mask at all (only blanks and separators); SetMask would match it
    // against every name.
    static bool IsBlankMaskList(const String& Text);

private:
    std::vector<String> FMasks;
    int FAttributesComplement = 0;
};
