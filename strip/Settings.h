#pragma once

#include "platform/Colors.h"
#include "platform/Font.h"

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <string>

// The settings, process-wide, each named like its value in the store.
extern std::string DFont;
extern int FSize;
extern TFontStyles FStyle;
extern int OnTop, FLeft, FTop, Delay, LShape, PTimer, LEDSize, AlignInt, Pattern, Spacing, BWidth;
extern std::string WarnFile, WarnDir, WarnDrive;
extern TColor LEDOnIn, LEDOnOut, LEDOffIn, LEDOffOut, HighLightOn, HighLightOff, BackC, FormC;
extern bool HighL, PlayW, HideF, Sync, Moveable, FScreen;

// Receives the first "OnTop" text and each Boolean's text while the load tests them.
extern std::string RegText;

// Where the settings live, under the current user.
extern const QString KeyPath;

std::string ReadRegString(const QString &keyPath, const std::string &valueName, const std::string &defaultText);
void WriteRegString(const QString &keyPath, const std::string &valueName, const std::string &text);

// Text forms of the values that are not plain numbers or texts.
std::string BoolToText(bool value);
bool TextToBool(const std::string &text);
std::string StyleToText(TFontStyles style);
TFontStyles TextToStyle(const std::string &text);

// Every setting at its default; the full width is the default of BWidth.
void SetDefaultSettings(int fullWidth);
// Reads every setting from the store, in load order. A value that does not convert stops the load
// with its failure; the settings not reached keep their defaults.
void LoadSettings(int fullWidth);
// Brings values edited by hand into the ranges the Options dialog allows, before anything is drawn.
void CorrectSettingRanges();
// Gives these fonts the dialog font: the face DFont (an empty one leaves each face), the size
// FSize and the style FStyle, except the style of the one font that keeps its own.
void ApplyDialogFont(std::initializer_list<TFont *> targets, const TFont *keepsItsStyle = nullptr);

// Writes every setting; the window's position stands for FLeft and FTop.
void SaveSettings(int windowLeft, int windowTop);
