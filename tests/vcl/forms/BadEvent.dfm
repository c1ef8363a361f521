object BadForm: TBadForm
  Caption = 'Fine so far'
  object Button1: TButton
    Left = 8
    OnClick = Button1Click
    OnKeyPress = Button1Click
  end
end
