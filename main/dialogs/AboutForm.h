#pragma once
// The about box: a plain bordered window over the about picture, with the product's name and
// version, who made and who publishes it, and three links to their web pages.

#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/Forms.h"
#include "classlib/gui/StdCtrls.h"

#include <functional>

class TFeatureContext;

class TfrmAbout : public TForm {
public:
    // AppDir: the program folder, which holds Data\about.bmp.
    TfrmAbout(TComponent* AOwner, const String& AppDir, const TFeatureContext& Context);

    // Opens a web address; by default in the default browser.
    std::function<void(const String& Address)> OpenLink;

    // The product's, the maker's and the publisher's web pages.
    static const wchar_t ProductAddress[];
    static const wchar_t MakerAddress[];
    static const wchar_t PublisherAddress[];

    void JvLabel2Click();
    void Label11Click();
    void Label10Click();

    TImage* imgBG;
    TLabel* JvLabel2;
    TLabel* Label1;
    TLabel* Label3;
    TLabel* Label7;
    TLabel* Label11;
    TLabel* Label9;
    TLabel* Label10;
    TButton* btnClose;

private:
    void FormCreate(const String& AppDir, const TFeatureContext& Context);
    TLabel* MakeText(const String& Name, int Left, int Top, const String& Caption);
    TLabel* MakeLinkText(const String& Name, int Left, int Top, const String& Caption,
                         void (TfrmAbout::*Click)());
};
